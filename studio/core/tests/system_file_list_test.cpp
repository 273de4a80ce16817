#include "system_file_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fifo_guard.h"
#include "regular_file.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

// 420 bytes of 0xFF and one of 151: 107100 + 151 = 107251 = 0x0001A2F3.
std::vector<uint8_t> play_wav_bytes() {
    std::vector<uint8_t> bytes(420, 0xFF);
    bytes.push_back(151);
    return bytes;
}

// A program folder base/name/ with bin/ holding the given list and Play.wav.
struct program_folder {
    std::string root;
    std::string bin = root + "bin/";

    program_folder(const std::string& base, const std::string& name, const std::string& list)
        : root(base + "/" + name + "/") {
        fs::create_directories(bin);
        write_file(bin + "Play.wav", play_wav_bytes());
        write_text(bin + "SysChk.lst", list);
    }

    system_check_result check(int* lines = nullptr) const {
        return check_system_files(root, [lines] {
            if (lines) ++*lines;
        });
    }
};

std::optional<system_file_entry> parse(const std::string& line) { return parse_system_file_line(line); }

TEST(SystemFileLine, CommentsEmptyAndBlankLinesNameNothing) {
    EXPECT_FALSE(parse("; KovaStudio system files"));
    EXPECT_FALSE(parse(";@Play.wav#0001A2F3"));
    EXPECT_FALSE(parse(""));
    EXPECT_FALSE(parse("   \t "));
    EXPECT_FALSE(parse("\r"));
}

TEST(SystemFileLine, TheNameRunsFromTheAtSignToTheHash) {
    const auto entry = parse("@Play.wav#0001A2F3");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Play.wav");
    EXPECT_EQ(entry->expected_code, "0001A2F3");

    EXPECT_EQ(parse("@Play.wav   #0001A2F3")->name, "Play.wav");
    EXPECT_EQ(parse("@Play.wave#0001A2F3")->name, "Play.wav");
    EXPECT_EQ(parse("@1x2/Y122.pgm#00000000")->name, "1x2/Y122.pgm");
    const auto trailing = parse("@qavgen#0123ABCDxyz and more");
    EXPECT_EQ(trailing->name, "qavgen");
    EXPECT_EQ(trailing->expected_code, "0123ABCD");
    EXPECT_EQ(parse("@QavUpdate108#00000000")->name, "QavUpdate108");
    EXPECT_EQ(parse("@v1.0/tonepack#00000000")->name, "v1.0/tonepack");
    EXPECT_EQ(parse("@x.ab#1")->name, "x.ab");
    EXPECT_EQ(parse("@x.ab#1")->expected_code, "1");
    EXPECT_EQ(parse("@a#b#00000001")->name, "a");
}

TEST(SystemFileLine, ALineWithoutHashNamesNoFile) {
    const auto entry = parse("@Play.wav");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "");
    EXPECT_EQ(entry->expected_code, "");
    EXPECT_EQ(parse("#0001A2F3")->name, "");
}

TEST(SystemFileLine, LongLinesAreTakenWhole) {
    const std::string name = std::string(10000, 'n') + ".wav";
    const auto entry = parse("@" + name + "#0001A2F3");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, name);
    EXPECT_EQ(entry->expected_code, "0001A2F3");
}

TEST(ListLines, LineFeedsEndLinesAndOneCarriageReturnBeforeThemGoes) {
    const std::string path = test_folder() + "/list";
    const std::string long_line(10240, 'L');
    write_text(path, "a\r\nb\n\r\n\nc\rd\r\r\n" + long_line + "\nlast");
    const owned_file file(open_regular_file(path));
    ASSERT_TRUE(file);
    std::vector<std::string> lines;
    std::string line;
    while (read_list_line(file.get(), line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "", "c\rd\r", long_line, "last"}));
}

TEST(FileByteSum, BytesCountAsUnsignedAndTheSumWraps) {
    const std::string folder = test_folder();
    write_file(folder + "/high", {0xFF, 0x80, 0x01});
    EXPECT_EQ(file_byte_sum(folder + "/high"), 0x180u);
    write_text(folder + "/empty", "");
    EXPECT_EQ(file_byte_sum(folder + "/empty"), 0u);
    // 16843010 bytes of 0xFF sum to 0x1000000FE, which wraps to 0xFE.
    write_file(folder + "/big", std::vector<uint8_t>(16843010, 0xFF));
    EXPECT_EQ(file_byte_sum(folder + "/big"), 0xFEu);
    fs::remove(folder + "/big");
}

TEST(FileByteSum, OnlyARegularFileHasASum) {
    const std::string folder = test_folder();
    EXPECT_FALSE(file_byte_sum(folder));
    EXPECT_FALSE(file_byte_sum(folder + "/none"));
    const std::string fifo = make_fifo(folder + "/pipe");
    EXPECT_FALSE(without_waiting(fifo, [&] { return file_byte_sum(fifo); }));
}

TEST(FileCode, EightUpperCaseHexadecimalDigits) {
    EXPECT_EQ(format_file_code(107251), "0001A2F3");
    EXPECT_EQ(format_file_code(0), "00000000");
    EXPECT_EQ(format_file_code(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(SystemCheck, MatchingCodesPassAndTheCodeComparisonKeepsCase) {
    const std::string base = test_folder();
    EXPECT_EQ(program_folder(base, "upper", "@Play.wav#0001A2F3\r\n").check().kind, system_check_result::passed);

    const program_folder lower(base, "lower", "@Play.wav#0001a2f3\r\n");
    const system_check_result result = lower.check();
    EXPECT_EQ(result.kind, system_check_result::code_mismatch);
    EXPECT_EQ(result.path, lower.bin + "Play.wav");
    EXPECT_EQ(result.expected_code, "0001a2f3");
    EXPECT_EQ(result.computed_code, "0001A2F3");
    EXPECT_EQ(system_check_box_text(result), lower.bin + "Play.wav\nRead Code: 0001a2f3\nGet Code:   0001A2F3");
}

TEST(SystemCheck, CommentsBlanksAndAMissingFinalLineEndAreReadToTheEnd) {
    const std::string base = test_folder();
    int lines = 0;
    EXPECT_EQ(program_folder(base, "comments", "; one\n;two\r\n; three without end").check(&lines).kind,
              system_check_result::passed);
    EXPECT_EQ(lines, 3);

    lines = 0;
    EXPECT_EQ(
        program_folder(base, "blanks", "\n   \n@Play.wav  #0001A2F3 \r\n\r\n\n@Play.wav#0001A2F3").check(&lines).kind,
        system_check_result::passed);
    EXPECT_EQ(lines, 6);

    const std::string long_comment = ";" + std::string(10240, 'c') + "\n";
    EXPECT_EQ(program_folder(base, "long", long_comment + "@Play.wav#0001A2F3\n").check().kind,
              system_check_result::passed);
}

TEST(SystemCheck, NamesWithoutExtensionAndInSubFoldersAreFound) {
    const std::string base = test_folder();
    const program_folder folder(base, "names", "@qavgen#00000003\n@1x2/1x2.ini#00000061\n");
    write_file(folder.bin + "qavgen", {1, 2});
    fs::create_directories(folder.bin + "1x2");
    write_text(folder.bin + "1x2/1x2.ini", "a");
    EXPECT_EQ(folder.check().kind, system_check_result::passed);
}

TEST(SystemCheck, TheFirstMissingFileStopsTheCheck) {
    const std::string base = test_folder();
    int lines = 0;
    const program_folder folder(base, "stop", "; list\n@Play.wav#0001A2F3\n@qavchk#00000000\n@Play.wav#bad\n");
    const system_check_result result = folder.check(&lines);
    EXPECT_EQ(result.kind, system_check_result::file_missing);
    EXPECT_EQ(result.path, folder.bin + "qavchk");
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(system_check_box_text(result), "System files missed: " + folder.bin + "qavchk");
}

TEST(SystemCheck, FoldersPipesAndLinesWithoutHashCountAsMissing) {
    const std::string base = test_folder();
    const program_folder no_hash(base, "no_hash", "@Play.wav\n");
    const system_check_result result = no_hash.check();
    EXPECT_EQ(result.kind, system_check_result::file_missing);
    EXPECT_EQ(result.path, no_hash.bin);

    const program_folder folder(base, "folder", "@sub#00000000\n");
    fs::create_directories(folder.bin + "sub");
    EXPECT_EQ(folder.check().kind, system_check_result::file_missing);

    const program_folder piped(base, "piped", "@pipe#00000000\n");
    make_fifo(piped.bin + "pipe");
    EXPECT_EQ(without_waiting(piped.bin + "pipe", [&] { return piped.check().kind; }),
              system_check_result::file_missing);

    const std::string name(10000, 'n');
    const program_folder long_name(base, "long_name", "@" + name + ".wav#00000000\n");
    EXPECT_EQ(long_name.check().path, long_name.bin + name + ".wav");
}

TEST(SystemCheck, NamesLeadingOutOfBinCountAsMissingAndAreNeverRead) {
    const std::string base = test_folder();
    // The file above bin has the listed code: only reading it would pass the check.
    write_file(base + "/Play.wav", play_wav_bytes());
    for (const std::string name : {"../../Play.wav", "../bin/Play.wav", "sub/../../../Play.wav", "..",
                                    "./../../Play.wav"}) {
        const program_folder folder(base, "names", "@Play.wav#0001A2F3\n@" + name + "#0001A2F3\n");
        const system_check_result result = folder.check();
        EXPECT_EQ(result.kind, system_check_result::file_missing) << name;
        EXPECT_EQ(result.path, folder.bin + name);
        EXPECT_EQ(result.computed_code, "");
    }
    // Climbing back down inside bin, or a leading "/", stays in bin.
    const program_folder inside(base, "inside",
                                "@sub/../Play.wav#0001A2F3\n@/Play.wav#0001A2F3\n@sub/./x.txt#00000000\n");
    fs::create_directories(inside.bin + "sub");
    write_text(inside.bin + "sub/x.txt", "");
    EXPECT_EQ(inside.check().kind, system_check_result::passed);
    // A NUL ends the name as the system sees it: "qavgen\0x" must not pass for qavgen.
    const program_folder nul(base, "nul", std::string("@qavgen") + '\0' + "x#00000003\n");
    write_file(nul.bin + "qavgen", {1, 2});
    EXPECT_EQ(nul.check().kind, system_check_result::file_missing);
}

TEST(SystemCheck, AMissingOrOddListFailsWithoutABox) {
    const std::string root = test_folder() + "/";
    system_check_result result = check_system_files(root, {});
    EXPECT_EQ(result.kind, system_check_result::list_missing);
    EXPECT_EQ(system_check_box_text(result), "");

    fs::create_directories(root + "bin/SysChk.lst");
    EXPECT_EQ(check_system_files(root, {}).kind, system_check_result::list_missing);

    fs::remove(root + "bin/SysChk.lst");
    make_fifo(root + "bin/SysChk.lst");
    result = without_waiting(root + "bin/SysChk.lst", [&] { return check_system_files(root, {}); });
    EXPECT_EQ(result.kind, system_check_result::list_missing);
}

}  // namespace
