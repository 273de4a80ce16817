// A compile whose step fails, for each way a step can fail on a user's
// machine: one "Compile failed!" box, the error sound, no DAT file left, and
// the page usable again. None of them may hang.
#include "compile_fixture.h"
#include "project_entry.h"
#include "test_files.h"
#include "test_wave.h"

#include <QTabBar>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class CompileFailure : public compile_test {
protected:
    void expect_failed_compile(TForm1& main, const std::string& dat) {
        // The boxes the test expects before this one, and this one: nothing more.
        const size_t boxes_after = record.boxes.size() + record.expected_boxes.size() + 1;
        expect_box("Error!", "Compile failed!", IDOK);
        click_compile(main, dat);
        ASSERT_EQ(record.boxes.size(), boxes_after);
        EXPECT_EQ(record.boxes.back().flags, unsigned{MB_ICONERROR});
        EXPECT_EQ(record.boxes.back().owner, &main);
        EXPECT_FALSE(fs::exists(fs::symlink_status(dat))) << dat << " outlived the failed compile";
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

TEST_F(CompileFailure, ADatFileInAFolderThatDoesNotExistFailsTheImageBuilder) {
    TForm1& main = start_studio();
    small_project(main);
    expect_failed_compile(main, out + "no such folder/x.dat");
    EXPECT_NE(read_text(folder.file("temp/QavGen.log")).find("Error on link-script"), std::string::npos);
}

TEST_F(CompileFailure, WithoutTheCheckerTheReportEndsAtItsChecksumLineAndTheImageIsDeleted) {
    TForm1& main = start_studio();
    small_project(main);
    remove_program_file("bin/qavchk");
    const std::string dat = out + "x.dat";
    expect_failed_compile(main, dat);
    const std::string report = read_text(out + "x.log");
    const std::string tail = "Output File : " + dat + "\r\nCheck Sum   : ";
    ASSERT_GE(report.size(), tail.size());
    EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

TEST_F(CompileFailure, AnExistingFileTheUserAgreedToReplaceIsDeletedWhenAnEarlyStepFails) {
    TForm1& main = start_studio();
    small_project(main);
    fs::create_directories(out);
    const std::string dat = out + "old.dat";
    write_text(dat, "an older image");
    write_text(out + "old.log", "an older report");
    remove_program_file("bin/1x2/1x2.ini");
    expect_box("Warning!", "", IDYES);
    expect_failed_compile(main, dat);
    EXPECT_EQ(read_text(out + "old.log"), "an older report");
}

}  // namespace
