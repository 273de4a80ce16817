#include "writer_commands.h"

#include <gtest/gtest.h>

#include "command_line.h"
#include "ini_file.h"
#include "test_files.h"

namespace {

using words = std::vector<std::string>;

const std::string kFolder = "/opt/kova studio/";

TEST(WriterCommandLine, BlankCheckNamesTheChipModelOrNothing) {
    const std::string named = writer_command_line(kFolder, "Y1", "KOVA3K10", writer_function::blank_check, "");
    EXPECT_EQ(named, "\"/opt/kova studio/bin/qav3kwriter\" Blank KOVA3K10");
    EXPECT_EQ(split_command_line(named), (words{"/opt/kova studio/bin/qav3kwriter", "Blank", "KOVA3K10"}));

    // No model name: the writer must get no empty chip name, which it would take as a name to force.
    const std::string detect = writer_command_line(kFolder, "Z5", "", writer_function::blank_check, "");
    EXPECT_EQ(detect, "\"/opt/kova studio/bin/qavwriter\" Blank ");
    EXPECT_EQ(split_command_line(detect), (words{"/opt/kova studio/bin/qavwriter", "Blank"}));
}

TEST(WriterCommandLine, ProgramAndVerifyCarryTheDatPathAsOneArgument) {
    const std::string dat = "/home/me/my \"best\" voices.dat";
    const std::string program = writer_command_line(kFolder, "Z6", "KOVA341", writer_function::program, dat);
    EXPECT_EQ(split_command_line(program), (words{"/opt/kova studio/bin/qavwriter", "Program", dat, "KOVA341"}));
    const std::string verify = writer_command_line(kFolder, "Y3", "KOVA3K42", writer_function::verify, "/d/a.dat");
    EXPECT_EQ(verify, "\"/opt/kova studio/bin/qav3kwriter\" Verify \"/d/a.dat\" KOVA3K42");
    const std::string unnamed = writer_command_line(kFolder, "Y0", "", writer_function::verify, "/d/a.dat");
    EXPECT_EQ(split_command_line(unnamed), (words{"/opt/kova studio/bin/qav3kwriter", "Verify", "/d/a.dat"}));
}

TEST(WriterCommandLine, OnlyAnUpperCaseYChoosesTheThreeKWriter) {
    EXPECT_EQ(writer_program_file("Y1"), "bin/qav3kwriter");
    EXPECT_EQ(writer_program_file("Y"), "bin/qav3kwriter");
    EXPECT_EQ(writer_program_file("y1"), "bin/qavwriter");
    EXPECT_EQ(writer_program_file("Z6"), "bin/qavwriter");
    EXPECT_EQ(writer_program_file(""), "bin/qavwriter");
}

TEST(WriterCommandLine, OperationTable) {
    const writer_operation& blank = writer_operation_of(writer_function::blank_check);
    EXPECT_STREQ(blank.name, "Blank Check");
    EXPECT_STREQ(blank.running_text, "Blank Checking...");
    EXPECT_FALSE(blank.needs_dat);
    const writer_operation& program = writer_operation_of(writer_function::program);
    EXPECT_STREQ(program.running_text, "Programming...");
    EXPECT_TRUE(program.needs_dat);
    const writer_operation& verify = writer_operation_of(writer_function::verify);
    EXPECT_STREQ(verify.name, "Verify");
    EXPECT_STREQ(verify.running_text, "Verifying...");
    EXPECT_TRUE(verify.needs_dat);
}

TEST(WriterProgress, EachPositionOfTheDeviceAddsAQuarterSecond) {
    EXPECT_EQ(writer_progress_cadence(0).count(), 250);
    EXPECT_EQ(writer_progress_cadence(4).count(), 1250);
    EXPECT_EQ(writer_progress_cadence(19).count(), 5000);
    // No device selected: never a cadence of 0, which would step without pause.
    EXPECT_EQ(writer_progress_cadence(-1).count(), 250);
}

TEST(WriterResult, PassAndFailKeepTheBarFullAndColourTheTip) {
    const writer_result_view passed = writer_result(0, "Program");
    EXPECT_EQ(passed.status, "Program Finish!");
    EXPECT_EQ(passed.tip, "Program Passed!");
    EXPECT_EQ(passed.tip_color, 0xFF0000u);
    EXPECT_TRUE(passed.progress_full);
    EXPECT_STREQ(passed.sound, "SYSTEMDEFAULT");

    const writer_result_view failed = writer_result(-6, "Blank Check");
    EXPECT_EQ(failed.status, "Blank Check Finish!");
    EXPECT_EQ(failed.tip, "Blank Check Failed!");
    EXPECT_EQ(failed.tip_color, 0x0000FFu);
    EXPECT_TRUE(failed.progress_full);
    EXPECT_STREQ(failed.sound, "SYSTEMHAND");
}

TEST(WriterResult, OtherCodesEmptyTheBarAndLeaveNoTip) {
    const struct {
        int code;
        const char* status;
    } cases[] = {{-4, "USB writer not found!"}, {-7, "IC detection failed!"}, {-1, "Unknown Failed!"},
                 {-3, "Unknown Failed!"},       {-5, "Unknown Failed!"},      {97, "Unknown Failed!"},
                 {98, "Unknown Failed!"},       {99, "Unknown Failed!"},      {1, "Unknown Failed!"}};
    for (const auto& c : cases) {
        const writer_result_view view = writer_result(c.code, "Verify");
        EXPECT_EQ(view.status, c.status) << c.code;
        EXPECT_EQ(view.tip, "") << c.code;
        EXPECT_FALSE(view.progress_full) << c.code;
        EXPECT_STREQ(view.sound, "SYSTEMHAND") << c.code;
    }
}

TEST(WriterStatus, TextsComeFromTheLanguageFileOrTheBuiltInEnglish) {
    const ini_file none(test_folder() + "/missing.ini");
    EXPECT_EQ(load_finished_status(none, "KOVA3K10", "1A2B"),
              "Load file finished!\n\nThis loaded DAT file is for: KOVA3K10\n\nDAT file Check Sum: 1A2B");
    EXPECT_EQ(unmatched_device_status(none, "KOVA3K10", "KOVA21"),
              "The loaded DAT file does not match with the selected Device.\n\n"
              "Loaded DAT file:KOVA3K10\nSelected Device:KOVA21\n\nPlease re-select Device.");

    const std::string path = test_folder() + "/lang.ini";
    write_text(path, "[Message]\r\nMsg012=A\r\nMsg013=B\r\nMsg014=C\r\nMsg015=D\r\nMsg023=E\r\nMsg024=F\r\n");
    const ini_file language(path);
    EXPECT_EQ(load_finished_status(language, "dev", "0000"), "Load file finished!\n\nEdev\n\nF0000");
    EXPECT_EQ(unmatched_device_status(language, "", "sel"), "A\n\nB\nCsel\n\nD");
}

}  // namespace
