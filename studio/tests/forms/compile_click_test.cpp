// What the Compile click does before and around the compile steps: the
// project check, the high-current warning, the save dialog and its overwrite
// question, the DAT names it refuses, the report's name, and the pages kept
// from input for the whole run.
#include "compile_fixture.h"
#include "my_thread.h"
#include "project_entry.h"
#include "test_files.h"
#include "test_wave.h"

#include <QTabBar>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

using CompileClick = compile_test;

bool temp_is_empty(const temp_program_folder& folder) { return fs::is_empty(folder.file("temp")); }

TEST_F(CompileClick, AProjectWhoseGroupsAreAllEmptyStopsAtTheProjectCheck) {
    TForm1& main = start_studio();
    project_entry project(main, record);
    project.choose_setup("KOVA3K10", "Key Sequential", "VOUT[PWM] - Level 2", "4-bit ADPCM");
    project.add_wave_file(wave("a.wav", sine_samples(800, 400, 8000, 90), 8000));
    project.add_mute("20");
    project.set_group_options(1, true, true, true);
    expect_box("Warning!", "No file has been assigned to any voice group!", IDOK);
    click(main.BT_Compile);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONINFORMATION});
    EXPECT_EQ(record.boxes[0].owner, &main);
    EXPECT_EQ(std::count(record.dialog_filters.begin(), record.dialog_filters.end(), "DAT file(*.dat)|*.dat"), 0)
        << "the save dialog was shown";
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});
    EXPECT_TRUE(temp_is_empty(folder));
    EXPECT_TRUE(main.BT_Compile->isEnabled());
    EXPECT_TRUE(main.PC_PageSelect->tabBar()->isEnabled());
}

TEST_F(CompileClick, OnlyPwmLevelsWhoseNumberDoesNotStartWithOneWarnOfSpeakerCurrent) {
    // A device with twelve PWM levels, so that levels 10 to 12 are offered as well.
    folder.set_setup_value("Y1", "Vout", "12");
    TForm1& main = start_studio();
    project_entry project(main, record);
    const int row = project.add_wave_file(wave("a.wav", sine_samples(800, 400, 8000, 90), 8000));
    project.put_into_group(row, 1);
    const struct {
        const char* device;
        const char* output;
        QString warning;  // empty: none
    } cases[] = {
        {"KOVA3K10", "VOUT[PWM] - Level 1", ""},
        {"KOVA3K10", "VOUT[PWM] - Level 2", kWarningOtherDevices},
        {"KOVA3K10", "VOUT[PWM] - Level 9", kWarningOtherDevices},
        {"KOVA3K10", "VOUT[PWM] - Level 10", ""},
        {"KOVA3K10", "VOUT[PWM] - Level 12", ""},
        {"KOVA3K10", "COUT[DAC]", ""},
        {"KOVA85", "VOUT[PWM] - Level 3", kWarningOtherDevices},
        {"KOVA341", "VOUT[PWM] - Level 2", kWarningZ6},
        {"KOVA341", "VOUT[PWM] - Level 1", ""},
        {"KOVA341", "COUT[DAC]", ""},
    };
    for (const auto& one : cases) {
        SCOPED_TRACE(std::string(one.device) + " " + one.output);
        choose(main.CB_Device, one.device);
        choose(main.CB_VoutSel, one.output);
        record.boxes.clear();
        if (!one.warning.isEmpty()) expect_box("Warning!", one.warning, IDOK);
        // The save dialog is cancelled: the click ends without a word or a sound.
        click_compile(main, "");
        ASSERT_EQ(record.boxes.size(), one.warning.isEmpty() ? 0u : 1u);
        if (!one.warning.isEmpty()) {
            EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONINFORMATION});
        }
    }
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});
    EXPECT_TRUE(temp_is_empty(folder));
    EXPECT_TRUE(main.BT_Compile->isEnabled());
}

TEST_F(CompileClick, ReplacingAnExistingFileIsAskedAndANoLeavesItAsItWas) {
    TForm1& main = start_studio();
    small_project(main);
    fs::create_directories(out);
    const std::string dat = out + "keep me.dat";
    write_text(dat, "precious");
    expect_box("Warning!",
               QString::fromStdString("File\"" + dat + "\"already exist. Do you want to replace it?"), IDNO);
    click_compile(main, dat);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_YESNO | MB_ICONINFORMATION});
    EXPECT_EQ(read_text(dat), "precious");
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});
    EXPECT_TRUE(temp_is_empty(folder));
    EXPECT_TRUE(main.BT_Compile->isEnabled());

    // Yes: the image replaces the file.
    expect_box("Warning!", "", IDYES);
    click_compile(main, dat);
    EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
    EXPECT_EQ(check_image(dat, "008000").exit_code, 0);
}

TEST_F(CompileClick, DatNamesThatWouldOverwriteTheProgramsOrThePipelineFilesAreRefusedUntouched) {
    TForm1& main = start_studio();
    small_project(main);
    write_text(folder.file("temp/Script.txt"), "not yet written");
    const std::string builder = folder.file("bin/qavgen");
    const std::string builder_target = fs::read_symlink(builder).string();
    // A report beside the image that is a link to the voice table would empty the table it copies.
    fs::create_directories(out);
    write_text(folder.file("temp/Table.txt"), "an older table");
    fs::create_symlink(folder.file("temp/Table.txt"), out + "linked.log");
    const std::string names[] = {builder,
                                 folder.file("temp/Script.txt"),
                                 folder.file("temp/result.lns"),
                                 folder.file("bin/1x2/Y122.pgm"),
                                 out + "say \"hi\".dat",
                                 out + "line\nbreak.dat",
                                 out + "linked.dat"};
    for (const std::string& dat : names) {
        SCOPED_TRACE(dat);
        record.boxes.clear();
        expect_box("Error!", "Compile failed!", IDOK);
        click_compile(main, dat);
        EXPECT_EQ(record.boxes.size(), 1u);
        EXPECT_EQ(record.sounds.back(), "SYSTEMHAND");
        EXPECT_TRUE(main.BT_Compile->isEnabled());
    }
    EXPECT_EQ(fs::read_symlink(builder).string(), builder_target);
    EXPECT_EQ(read_text(folder.file("temp/Script.txt")), "not yet written");
    EXPECT_FALSE(file_exists(folder.file("temp/result.lns")));
    EXPECT_TRUE(file_exists(folder.file("bin/1x2/Y122.pgm")));
    EXPECT_FALSE(fs::exists(out + "say \"hi\".dat"));
    EXPECT_FALSE(fs::exists(out + "linked.dat"));
    EXPECT_EQ(read_text(folder.file("temp/Table.txt")), "an older table");
}

TEST_F(CompileClick, TheReportTakesTheDatNameWithItsExtensionReplacedAndNeverTheDatItself) {
    TForm1& main = start_studio();
    small_project(main);
    const struct {
        const char* dat;
        const char* report;
    } cases[] = {
        {"sound.bin", "sound.log"},
        {"notes.log", "notes.log.log"},  // the report must not replace the image
        {"x.da", "x.da.log"},
        {"hello.dat", "hello.log"},
    };
    for (const auto& one : cases) {
        SCOPED_TRACE(one.dat);
        click_compile(main, out + one.dat);
        EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
        EXPECT_EQ(check_image(out + one.dat, "008000").exit_code, 0);
        const std::vector<std::string> report = crlf_split(read_text(out + one.report));
        ASSERT_GE(report.size(), 6u);
        EXPECT_EQ(report[4], "Output File : " + out + one.dat);
    }
}

TEST_F(CompileClick, EveryPageIsKeptFromInputForTheWholeRunAndGetsItsStateBack) {
    TForm1& main = start_studio();
    small_project(main);
    fs::create_directories(out);
    const std::string dat = out + "x.dat";
    write_text(dat, "older");
    QWidget* const inputs[] = {main.PC_PageSelect->tabBar(), main.BT_Compile, main.CB_Device, main.CB_TgMode,
                               main.CB_VoutSel, main.CB_ComFmt, main.SG_FileList, main.SG_GrpList,
                               main.BT_ItemCtl, main.B_LoadFile, main.B_Program, main.CB_Wrt_Device};
    int samples = 0;
    std::vector<std::string> enabled;
    const auto look = [&] {
        ++samples;
        for (QWidget* input : inputs) {
            if (input->isEnabled()) enabled.push_back(input->objectName().toStdString());
        }
        // Keys switch pages without the tab bar: the other pages are closed to them too.
        if (main.PC_PageSelect->isTabEnabled(1) || main.PC_PageSelect->isTabEnabled(2)) enabled.push_back("a tab");
        // What only shows information stays readable.
        if (!main.LB_MemUsg->isEnabled()) enabled.push_back("LB_MemUsg disabled");
        if (!main.SB_Status->isEnabled()) enabled.push_back("SB_Status disabled");
    };
    record.while_box_shown = [&](const recorded_box&) { look(); };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (ChildProgramRunning()) look();
    });
    sampler.start(1);
    expect_box("Warning!", "", IDYES);
    click_compile(main, dat);
    sampler.stop();
    EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");
    EXPECT_GT(samples, 1) << "no look while the child programs ran";
    EXPECT_TRUE(enabled.empty()) << enabled.front();

    for (QWidget* input : inputs) EXPECT_TRUE(input->isEnabled()) << input->objectName().toStdString();
    EXPECT_TRUE(main.PC_PageSelect->isTabEnabled(1));
    EXPECT_TRUE(main.PC_PageSelect->isTabEnabled(2));
    // Buttons that were disabled before stay so.
    EXPECT_FALSE(main.B_Save->isEnabled());
    EXPECT_FALSE(main.B_Load->isEnabled());
}

}  // namespace
