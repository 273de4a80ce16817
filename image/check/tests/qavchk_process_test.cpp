#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "image_header.h"
#include "qavchk_process.h"
#include "test_files.h"
#include "test_image.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kBanner = "------- QavChk V1.8 (2010.03.10)---------\n";
constexpr const char* kBegin = "(========================<Header Begin>========================)\n";
constexpr const char* kEnd = "(========================<Header   End>========================)\n";
constexpr const char* kListing = "KOVA3k10\nVoice chip program template.\n";
constexpr int32_t kRomSize = 0x2000;

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

std::string input_line(const fs::path& image) { return "Qav input: <" + image.string() + ">\n"; }
std::string error_line(const fs::path& image) {
    return "[CheckSum:xxxx] Error QAV file <" + image.string() + "> !!\n\n";
}
std::string listed(const fs::path& image) { return kBanner + input_line(image) + kBegin + kListing + kEnd; }

// A level I image of kRomSize bytes whose slot holds the generated checksum.
test_image sealed_image(int level = 1) {
    template_spec spec;
    spec.level = level;
    if (level == 2) spec.cipher_start = 0x30;
    test_image image = make_test_image(spec, kRomSize - spec.offset);
    seal_image(image, kRomSize);
    return image;
}

TEST(QavChk, VerifiedImageWritesEveryLineButTheFrequencyToTheLog) {
    const fs::path dir = test_folder();
    test_image image = sealed_image(2);
    write_file(dir / "a.dat", image.file);
    write_text(dir / "temp.csm", "earlier run\n");  // the log is appended to
    const child_result run = run_qavchk({(dir / "a.dat").string(), "002000", (dir / "temp.csm").string()});

    const std::string ok = "Check Sum: [" + hex4(expected_checksum(image.rom, 44, kRomSize)) + "] Verify OK.\n";
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output, listed(dir / "a.dat") + ok + "Check OPT: Frequency Adj to 5.0 MHz.\n");
    EXPECT_EQ(read_text(dir / "temp.csm"), "earlier run\n" + listed(dir / "a.dat") + ok);
}

TEST(QavChk, ChangedByteGivesTheMismatchLine) {
    const fs::path dir = test_folder();
    test_image image = sealed_image();
    const uint16_t stored = static_cast<uint16_t>(image.rom[14] | image.rom[15] << 8);
    set_rom_byte(image, 16, static_cast<uint8_t>(image.rom[16] ^ 0x40));
    write_file(dir / "a.dat", image.file);
    const child_result run = run_qavchk({(dir / "a.dat").string(), "2000", (dir / "log").string()});

    const std::string line = "Check Sum: [" + hex4(expected_checksum(image.rom, 16, kRomSize)) +
                             "] unmatched with[" + hex4(stored) + "]\n";
    EXPECT_EQ(run.exit_code, -5);
    EXPECT_EQ(run.output, listed(dir / "a.dat") + line);
    EXPECT_EQ(read_text(dir / "log"), run.output);
}

TEST(QavChk, RomSizeDecidesWhatIsSummed) {
    const fs::path dir = test_folder();
    test_image image = sealed_image();
    write_file(dir / "a.dat", image.file);
    // Only bytes 0 to 5 are summed.
    EXPECT_EQ(run_qavchk({(dir / "a.dat").string(), "0"}).exit_code, -5);
    EXPECT_EQ(run_qavchk({(dir / "a.dat").string(), "none"}).exit_code, -5);

    // Missing bytes up to the ROM size count as blank.
    seal_image(image, 0x10000);
    write_file(dir / "a.dat", image.file);
    EXPECT_EQ(run_qavchk({(dir / "a.dat").string(), "010000"}).exit_code, 0);
}

TEST(QavChk, WrongArgumentCountShowsUsageOnly) {
    const fs::path dir = test_folder();
    const std::string usage =
        "Usage: " + std::string(KOVA_DIR) + "/bin/qavchk qav-file romsize(hex) [log-fname]\n\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"a.dat"}, {"a.dat", "2000", (dir / "log").string(), "extra"}}) {
        const child_result run = run_qavchk(args);
        EXPECT_EQ(run.exit_code, -1);
        EXPECT_EQ(run.output, usage);
    }
    EXPECT_FALSE(fs::exists(dir / "log"));
}

TEST(QavChk, ImageThatCannotBeReadIsRefused) {
    const fs::path dir = test_folder();
    mkfifo((dir / "pipe").c_str(), 0666);  // opening it to read would wait for a writer
    for (const fs::path& image : {dir / "missing.dat", dir, dir / "pipe"}) {
        const child_result run = run_qavchk({image.string(), "2000", (dir / "log").string()});
        EXPECT_EQ(run.exit_code, -2) << image;
        EXPECT_EQ(run.output, kBanner + error_line(image)) << image;
        EXPECT_EQ(read_text(dir / "log"), run.output);
        fs::remove(dir / "log");
    }
    // A user who may not read the image.
    write_file(dir / "secret.dat", sealed_image().file);
    chmod((dir / "secret.dat").c_str(), 0);
    const child_result run = run_qavchk({(dir / "secret.dat").string(), "2000"}, as_other_user());
    EXPECT_EQ(run.exit_code, -2);
    EXPECT_EQ(run.output, kBanner + error_line(dir / "secret.dat"));
}

TEST(QavChk, ImageItsUserMayNotWriteIsCheckedAndLeftAsItWas) {
    const fs::path dir = test_folder();
    const test_image image = sealed_image();
    write_file(dir / "readonly.dat", image.file);
    chmod((dir / "readonly.dat").c_str(), 0444);
    write_text(dir / "temp.csm", "");
    chmod((dir / "temp.csm").c_str(), 0666);  // the report stays the user's to write
    const child_result run =
        run_qavchk({(dir / "readonly.dat").string(), "2000", (dir / "temp.csm").string()}, as_other_user());

    const std::string ok = "Check Sum: [" + hex4(expected_checksum(image.rom, 16, kRomSize)) + "] Verify OK.\n";
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(run.output, listed(dir / "readonly.dat") + ok);
    EXPECT_EQ(read_text(dir / "temp.csm"), run.output);
    EXPECT_EQ(read_file(dir / "readonly.dat"), image.file);
}

TEST(QavChk, UnusableHeaderIsAnInvalidImage) {
    const fs::path dir = test_folder();
    const test_image good = sealed_image();
    std::vector<uint8_t> low_offset = good.file;
    low_offset[6] = 0x10;
    low_offset[7] = 0x00;
    std::vector<uint8_t> partial_block = good.file;
    partial_block[12] = 0x04;
    std::vector<uint8_t> short_info = good.file;
    short_info[good.base] = 4;  // L = 8
    const fs::path image = dir / "a.dat";

    for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>(31, 'K'), low_offset, partial_block}) {
        write_file(image, bytes);
        const child_result run = run_qavchk({image.string(), "2000"});
        EXPECT_EQ(run.exit_code, -4);
        EXPECT_EQ(run.output, kBanner + input_line(image) + error_line(image));
    }
    // The listing needs only the header record; the checksum needs L of at least 16.
    write_file(image, short_info);
    const child_result run = run_qavchk({image.string(), "2000"});
    EXPECT_EQ(run.exit_code, -4);
    EXPECT_EQ(run.output, listed(image) + error_line(image));
}

TEST(QavChk, RangeEndingBeforeItStartsIsReadPlainlyAndVerifies) {
    const fs::path dir = test_folder();
    template_spec spec;
    spec.cipher_start = spec.cipher_end = 0x100;  // nothing enciphered
    test_image image = make_test_image(spec, kRomSize - spec.offset);
    image.file[8] = 0x00;  // start 0x200, end 0x100
    image.file[9] = 0x02;
    seal_image(image, kRomSize);
    write_file(dir / "a.dat", image.file);
    const child_result run = run_qavchk({(dir / "a.dat").string(), "2000"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output, listed(dir / "a.dat") + "Check Sum: [" +
                              hex4(expected_checksum(image.rom, 16, kRomSize)) + "] Verify OK.\n");
}

TEST(QavChk, DamagedImagesEndWithAResult) {
    const fs::path dir = test_folder();
    const test_image good = sealed_image();
    const fs::path image = dir / "a.dat";

    std::vector<uint8_t> beyond_end = good.file;
    beyond_end[6] = 0xF0;  // ROM image would start at 0x7FF0, far past the end
    beyond_end[7] = 0x7F;
    write_file(image, beyond_end);
    child_result run = run_qavchk({image.string(), "2000"});
    EXPECT_EQ(run.exit_code, -5);
    EXPECT_NE(run.output.find("unmatched with[FFFF]"), std::string::npos);
    EXPECT_EQ(run.output.find(kEnd), std::string::npos);

    // Cut inside the enciphered range, and a ROM size far beyond any file.
    std::vector<uint8_t> truncated(good.file.begin(), good.file.begin() + good.base + 0x104);
    write_file(image, truncated);
    for (const char* rom_size : {"2000", "7FFFFFFF", "FFFFFFFF"}) {
        run = run_qavchk({image.string(), rom_size});
        EXPECT_EQ(run.exit_code, -5) << rom_size;
    }
}

// Only the 32-byte record, with the ROM's first block enciphered: the system
// information lies wholly past the end of the file and reads as blank 0xFF
// (L = 0x7FFE), so below that ROM size the sum is six 0xFF bytes.
TEST(QavChk, EncipheredBlockMissingFromTheFileCountsAsBlank) {
    const fs::path dir = test_folder();
    std::vector<uint8_t> record(kImageHeaderSize, 0xFF);
    record[0] = 'K', record[1] = 'O', record[2] = 'V', record[3] = 'A';
    put_header_fields(record, kImageHeaderSize, 0, 8);
    write_file(dir / "a.dat", record);
    for (const char* rom_size : {"0", "2000"}) {
        const child_result run = run_qavchk({(dir / "a.dat").string(), rom_size});
        EXPECT_EQ(run.exit_code, -5) << rom_size;
        EXPECT_NE(run.output.find("Check Sum: [FA06] unmatched with[FFFF]\n"), std::string::npos) << run.output;
    }
}

TEST(QavChk, HugeImageIsReadOnlyUpToTheRomSize) {
    const fs::path dir = test_folder();
    write_file(dir / "a.dat", sealed_image().file);
    fs::resize_file(dir / "a.dat", 3ull << 30);  // sparse: zero bytes after the ROM
    EXPECT_EQ(run_qavchk({(dir / "a.dat").string(), "2000"}).exit_code, 0);
    fs::remove(dir / "a.dat");
}

TEST(QavChk, LongPathsAreUsedWhole) {
    const fs::path dir = test_folder();
    fs::path deep = dir;
    while (deep.string().size() < 2100) deep /= std::string(60, 'd');
    fs::create_directories(deep);
    const fs::path image = deep / "a.dat";
    write_file(image, sealed_image().file);
    child_result run = run_qavchk({image.string(), "2000", (deep / "log").string()});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output.substr(0, run.output.find(kBegin)), kBanner + input_line(image));
    EXPECT_EQ(read_text(deep / "log"), run.output);

    const fs::path missing = deep / std::string(300, 'm');
    run = run_qavchk({missing.string(), "2000"});
    EXPECT_EQ(run.exit_code, -2);
    EXPECT_EQ(run.output, kBanner + error_line(missing));
}

TEST(QavChk, LogThatCannotBeOpenedLeavesStandardOutput) {
    const fs::path dir = test_folder();
    write_file(dir / "a.dat", sealed_image().file);
    const child_result run = run_qavchk({(dir / "a.dat").string(), "2000", (dir / "no" / "log").string()});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output.substr(0, run.output.find("Check Sum")), listed(dir / "a.dat"));
}

}  // namespace
