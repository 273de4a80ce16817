// A compile whose step fails, for each way a step can fail on a user's
// machine: one "Compile failed!" box, the error sound, the DAT file and its
// report as they were before the click (also when there was none), nothing
// left beside them, and the page usable again. None of them may hang.
#include "compile_fixture.h"
#include "compile_report.h"
#include "project_entry.h"
#include "test_files.h"
#include "test_wave.h"

#include <QTabBar>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>

namespace {

namespace fs = std::filesystem;

// A file's bytes; nothing when no file is there (a link to nowhere counts as there). A pipe is not read, lest
// the test wait for a writer: it holds no bytes.
std::optional<std::vector<uint8_t>> held(const std::string& path) {
    if (!fs::exists(fs::symlink_status(path))) return std::nullopt;
    if (fs::is_fifo(path)) return std::vector<uint8_t>{};
    return read_file(path);
}

// The names in a folder, hidden ones too; none when there is no folder.
std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.insert(it->path().filename().string());
    }
    return names;
}

class CompileFailure : public compile_test {
protected:
    void expect_failed_compile(TForm1& main, const std::string& dat) {
        const std::string report = compile_report_path(dat);
        const auto dat_before = held(dat);
        const auto report_before = held(report);
        const std::set<std::string> beside_before = names_in(fs::path(dat).parent_path());
        // The boxes the test expects before this one, and this one: nothing more.
        const size_t boxes_after = record.boxes.size() + record.expected_boxes.size() + 1;
        expect_box("Error!", "Compile failed!", IDOK);
        click_compile(main, dat);
        ASSERT_EQ(record.boxes.size(), boxes_after);
        EXPECT_EQ(record.boxes.back().flags, unsigned{MB_ICONERROR});
        EXPECT_EQ(record.boxes.back().owner, &main);
        EXPECT_EQ(held(dat), dat_before) << dat << " changed in the failed compile";
        EXPECT_EQ(held(report), report_before) << report << " changed in the failed compile";
        EXPECT_EQ(names_in(fs::path(dat).parent_path()), beside_before) << "a file was left beside " << dat;
        EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
        EXPECT_TRUE(main.BT_Compile->isEnabled());
        EXPECT_TRUE(main.PC_PageSelect->tabBar()->isEnabled());
    }

    void remove_program_file(const std::string& relative) {
        ASSERT_TRUE(fs::remove(folder.file(relative))) << relative;
    }
};

TEST_F(CompileFailure, AMissingModeFileStopsTheScriptAfterTheClockLine) {
    TForm1& main = start_studio();
    small_project(main);
    remove_program_file("bin/1x2/1x2.ini");
    expect_failed_compile(main, out + "x.dat");
    const std::vector<std::string> script = crlf_split(temp_text("Script.txt"));
    ASSERT_FALSE(script.empty());
    EXPECT_EQ(script.back(), ".Global         $Rck        = 10000000");
    EXPECT_FALSE(file_exists(folder.file("temp/Script.mf0"))) << "the encoder ran";
}

TEST_F(CompileFailure, AnOffsetThatLeavesNoRoomForTheOptionBytesFailsTheLinkScript) {
    TForm1& main = start_studio();
    small_project(main);
    std::string settings = read_text(folder.file("bin/1x2/1x2.ini"));
    const size_t at = settings.find("Offset=4C0");
    ASSERT_NE(at, std::string::npos);
    write_text(folder.file("bin/1x2/1x2.ini"), settings.replace(at, 10, "Offset=1F"));
    expect_failed_compile(main, out + "x.dat");
    EXPECT_FALSE(file_exists(folder.file("temp/result.lns")));
}

TEST_F(CompileFailure, AMissingImageTemplateFailsTheImageBuilder) {
    TForm1& main = start_studio();
    small_project(main);
    remove_program_file("bin/1x2/Y122.pgm");
    expect_failed_compile(main, out + "x.dat");
    EXPECT_TRUE(file_exists(folder.file("temp/Script.mf0")));
    EXPECT_TRUE(file_exists(folder.file("temp/result.lns")));
    EXPECT_FALSE(file_exists(out + "x.log"));
}

TEST_F(CompileFailure, AMissingEncoderCannotBeStarted) {
    TForm1& main = start_studio();
    small_project(main);
    remove_program_file("bin/tonepack");
    expect_failed_compile(main, out + "x.dat");
    EXPECT_FALSE(file_exists(folder.file("temp/Script.mf0")));
    EXPECT_FALSE(file_exists(folder.file("temp/result.lns")));
}

TEST_F(CompileFailure, AWaveRemovedAfterItWasAddedFailsTheEncoderAndLeavesAnEarlierImageAlone) {
    TForm1& main = start_studio();
    const small_project_files files = small_project(main);
    click_compile(main, out + "first.dat");
    ASSERT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
    const std::vector<uint8_t> first = read_file(out + "first.dat");
    ASSERT_FALSE(first.empty());

    ASSERT_TRUE(fs::remove(files.pcm_wave.toStdString()));
    expect_failed_compile(main, out + "second.dat");
    // The encoder leaves no voice data of the earlier run that the builder could take for this run's.
    EXPECT_FALSE(file_exists(folder.file("temp/Script.mf0")));
    EXPECT_EQ(read_file(out + "first.dat"), first);
    EXPECT_TRUE(file_exists(out + "first.log"));
}

TEST_F(CompileFailure, AWaveRewrittenAtAnotherRateFailsTheEncoder) {
    TForm1& main = start_studio();
    small_project(main);
    wave("a.wav", sine_samples(2000, 400, 11025, 90), 11025);
    expect_failed_compile(main, out + "x.dat");
    EXPECT_FALSE(file_exists(folder.file("temp/result.lns")));
}

TEST_F(CompileFailure, AWaveGrownBeyondTheChipAfterItWasAddedEndsTheBuilderInsteadOfWaiting) {
    TForm1& main = start_studio();
    small_project(main);
    // The file list still counts the small file; the chip holds 32 KiB.
    wave("b.wav", chirp_samples(40000, 100, 3000, 8000, 80), 8000);
    expect_failed_compile(main, out + "x.dat");
    EXPECT_NE(read_text(folder.file("temp/QavGen.log")).find("Voice Too Long"), std::string::npos);
    EXPECT_FALSE(file_exists(folder.file("temp/shadow.dat")));
}

TEST_F(CompileFailure, AMissingImageBuilderCannotBeStarted) {
    TForm1& main = start_studio();
    small_project(main);
    remove_program_file("bin/qavgen");
    expect_failed_compile(main, out + "x.dat");
    EXPECT_TRUE(file_exists(folder.file("temp/result.lns")));
}

TEST_F(CompileFailure, ADatFileInAFolderThatDoesNotExistFailsBeforeAnyStep) {
    TForm1& main = start_studio();
    small_project(main);
    expect_failed_compile(main, out + "no such folder/x.dat");
    EXPECT_FALSE(file_exists(folder.file("temp/Script.txt"))) << "a step ran";
}

TEST_F(CompileFailure, APipeNamedAsTheDatFileIsRefusedAndStays) {
    TForm1& main = start_studio();
    small_project(main);
    fs::create_directories(out);
    ASSERT_EQ(::mkfifo((out + "x.dat").c_str(), 0600), 0);
    expect_box("Warning!", "", IDYES);
    expect_failed_compile(main, out + "x.dat");
    EXPECT_TRUE(fs::is_fifo(out + "x.dat"));
    EXPECT_FALSE(file_exists(folder.file("temp/Script.txt"))) << "a step ran";
}

TEST_F(CompileFailure, FilesTheUserAgreedToReplaceOutliveEveryFailureAndASuccessReplacesBoth) {
    TForm1& main = start_studio();
    small_project(main);
    fs::create_directories(out);
    const std::string dat = out + "old.dat";
    write_text(dat, "an older image");
    write_text(out + "old.log", "an older report");
    fs::permissions(dat, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Each fault is made, the compile fails, and the fault is taken away again.
    const struct {
        const char* fault;
        std::string moved;           // a program-folder file or folder moved aside
        bool temp_replaced_by_file;  // and a file put in its place
    } faults[] = {
        {"temp/ cannot take files", "temp", true},
        {"no mode settings file", "bin/1x2/1x2.ini", false},
        {"the builder fails and removes its image", "bin/1x2/Y122.pgm", false},
        {"the checker cannot run on the built image", "bin/qavchk", false},
    };
    for (const auto& one : faults) {
        SCOPED_TRACE(one.fault);
        const std::string moved = folder.file(one.moved);
        fs::rename(moved, moved + ".aside");
        if (one.temp_replaced_by_file) write_text(moved, "a file in the folder's place");
        expect_box("Warning!", "", IDYES);
        expect_failed_compile(main, dat);
        if (one.temp_replaced_by_file) fs::remove(moved);
        fs::rename(moved + ".aside", moved);
    }
    EXPECT_EQ(read_text(dat), "an older image");
    EXPECT_EQ(read_text(out + "old.log"), "an older report");

    expect_box("Warning!", "", IDYES);
    click_compile(main, dat);
    EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
    EXPECT_EQ(check_image(dat, "008000").exit_code, 0);
    const std::vector<std::string> report = crlf_split(read_text(out + "old.log"));
    ASSERT_GE(report.size(), 6u);
    EXPECT_EQ(report[4], "Output File : " + dat);
    EXPECT_EQ(fs::status(dat).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write |
                                                                  fs::perms::group_read);
    EXPECT_EQ(names_in(out), (std::set<std::string>{"old.dat", "old.log"}));

    // A DAT name that is a link: the image replaces the file it leads to, and the link stays.
    fs::create_directories(out + "../linked");
    write_text(out + "../linked/target.dat", "an older image");
    fs::create_symlink("../linked/target.dat", out + "link.dat");
    expect_box("Warning!", "", IDYES);
    click_compile(main, out + "link.dat");
    EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
    EXPECT_TRUE(fs::is_symlink(out + "link.dat"));
    EXPECT_EQ(check_image(out + "../linked/target.dat", "008000").exit_code, 0);
    EXPECT_EQ(names_in(out + "../linked"), std::set<std::string>{"target.dat"});
    EXPECT_EQ(names_in(out), (std::set<std::string>{"old.dat", "old.log", "link.dat", "link.log"}));
}

}  // namespace
