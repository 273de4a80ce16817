#include "encoder_script_files.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <vector>

#include "pipeline_test_support.h"
#include "test_files.h"

namespace {

const std::string kScriptRule = ";" + std::string(79, '-');
const std::string kDashes(80, '-');
const std::string kEquals(80, '=');

// The sample project's encoder script, line by line.
const std::vector<std::string> kSampleScript = {
    ".Define        FS      = 8000",
    kScriptRule,
    ".Silence       DefSil  = ((100 * FS)/1000)",
    ".EQ01\t\t         I0001\t\t= \"/snd/hello.wav\"",
    ".Silence\t\t     I0002\t\t= ((250 * FS)/1000)",
    ".PCM\t\t\t     I0003 \t\t= \"/snd/beep.wav\"",
    kScriptRule,
    ".Global         $Rck        = 10000000",
    ".Global        $Offset = 600h",
    ".Global        $Encoder    = 5 \"EQ01\" 26",
    ".Global        $RampEn = \"No\"",
    ".Global        $SbtMax = 3",
    kScriptRule,
    ".Section[1] $Edge   =\t\"Yes\"",
    ".Section[1] $Hold   =\t\"Yes\"",
    ".Section[1] $ReTrg  =\t\"Yes\"",
    "",
    ".Section[1] $Groups =    I0001 (16000) :1",
    ".Section[1] $Groups =    I0002  (8000) :0",
    kScriptRule,
    ".Section[2] $Edge   =\t\"No\"",
    ".Section[2] $Hold   =\t\"No\"",
    ".Section[2] $ReTrg  =\t\"No\"",
    "",
    ".Section[2] $Groups =    DefSil  (8000) :0",
    kScriptRule,
    ".Section[3] $Edge   =\t\"Yes\"",
    ".Section[3] $Hold   =\t\"No\"",
    ".Section[3] $ReTrg  =\t\"Yes\"",
    "",
    ".Section[3] $Groups =    I0003  (8000) :0",
    kScriptRule,
    ".Section[4] $Edge   =\t\"No\"",
    ".Section[4] $Hold   =\t\"Yes\"",
    ".Section[4] $ReTrg  =\t\"No\"",
    "",
    ".Section[4] $Groups =    DefSil  (8000) :0",
    kScriptRule,
};

// The sample project's voice table, line by line.
const std::vector<std::string> kSampleTable = {
    "[Source]    [Type]        [Rate]    [File path or Mute time]",
    kDashes,
    " I0001       5-bit u-Law   16000     /snd/hello.wav",
    " I0002       Mute          --        Mute: 250 mS",
    " I0003       8-bit PCM     8000      /snd/beep.wav",
    kEquals,
    "Ramp-Type   : VOUT[PWM] - Level 2",
    "Mode        : Key Sequential(Y172)",
    "Output      : Busy-High(PB1)",
    kEquals,
    "[Group:   1]   [Edge]    [Holdable]    [Retrigger]",
    kDashes,
    " I0001     /snd/hello.wav",
    " I0002     Mute: 250 mS",
    kEquals,
    "[Group:   2]   [Level]   [Unholdable]  [Non-Retrigger]",
    kDashes,
    " (None)",
    kEquals,
    "[Group:   3]   [Edge]    [Unholdable]  [Retrigger]",
    kDashes,
    " I0003     /snd/beep.wav",
    kEquals,
    "[Group:   4]   [Level]   [Holdable]    [Non-Retrigger]",
    kDashes,
    " (None)",
    kEquals,
};

// The first `count` lines, each with CR LF.
std::string first_lines(const std::vector<std::string>& lines, size_t count) {
    std::string text;
    for (size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + "\r\n";
    return text;
}

std::string all_lines(const std::vector<std::string>& lines) { return first_lines(lines, lines.size()); }

bool has_line(const std::string& text, const std::string& line) {
    return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(EncoderScript, TheSampleProjectGivesBothFilesLineForLine) {
    const script_files files = build_script_files(sample_project(), "600");
    EXPECT_EQ(files.result, 0);
    EXPECT_EQ(files.script, all_lines(kSampleScript));
    EXPECT_EQ(files.table, all_lines(kSampleTable));
}

TEST(EncoderScript, AdpcmDacAndTheOtherSeriesChangeTheirLines) {
    project_snapshot project;
    project.items = {
        {"a b.wav", "22050", "10", "4-bit ADPCM", "/snd/a b.wav", "I0001"},
        {"pcm.wav", "8000", "10", "8-bit PCM", "/snd/pcm.wav", "I0002"},
        {"left.wav", "8000", "10", "5-bit u-Law", "/snd/left.wav", "I0003"},  // a format not chosen: no line
    };
    project.groups.resize(10, voice_group{"Edge", "UnHoldable", "Non-Retrigger", ""});
    project.groups[9].item_list = "I00010";
    project.device_code = "Z3";
    project.output_type = "COUT[DAC]";
    project.trigger_mode = "Key Trigger";
    project.mode_code = "1";
    project.compression_index = 0;
    project.compression_text = "4-bit ADPCM";

    const script_files files = build_script_files(project, "1F0");
    ASSERT_EQ(files.result, 0);
    EXPECT_TRUE(has_line(files.script, ".ADPCM\t\t     I0001\t\t= \"/snd/a b.wav\""));
    EXPECT_TRUE(has_line(files.script, ".PCM\t\t\t     I0002 \t\t= \"/snd/pcm.wav\""));
    EXPECT_TRUE(has_line(files.script, ".Global         $Rck        = 8000000"));
    EXPECT_TRUE(has_line(files.script, ".Global        $Offset = 1F0h"));
    EXPECT_EQ(files.script.find("$Encoder"), std::string::npos);
    EXPECT_TRUE(has_line(files.script, ".Global        $RampEn = \"Yes\""));
    EXPECT_TRUE(has_line(files.script, ".Global        $SbtMax = 10"));
    EXPECT_TRUE(has_line(files.script, ".Section[9] $Groups =    DefSil  (8000) :0"));
    EXPECT_TRUE(has_line(files.script, ".Section[10] $Groups =    I0001 (22050) :0"));
    EXPECT_EQ(files.script.find("I0003"), std::string::npos);

    EXPECT_TRUE(has_line(files.table, " I0001       4-bit ADPCM   22050     /snd/a b.wav"));
    EXPECT_EQ(files.table.find("I0003"), std::string::npos);
    EXPECT_TRUE(has_line(files.table, "Ramp-Type   : COUT[DAC]"));
    EXPECT_TRUE(has_line(files.table, "Mode        : Key Trigger(Z321)"));
    EXPECT_TRUE(has_line(files.table, "Output      : N.C."));
    EXPECT_TRUE(has_line(files.table, "[Group:  10]   [Edge]    [Unholdable]  [Non-Retrigger]"));
}

TEST(EncoderScript, OnlyAnOutputTypeHoldingVoutInCapitalsTurnsTheRampOff) {
    project_snapshot project = sample_project();
    for (const std::string type : {"VOUT[PWM] - Level 1", "VOUT[PWM] - Level 7", "x VOUT"}) {
        project.output_type = type;
        EXPECT_TRUE(has_line(build_script_files(project, "600").script, ".Global        $RampEn = \"No\"")) << type;
    }
    for (const std::string type : {"COUT[DAC]", "vout[PWM] - Level 1", ""}) {
        project.output_type = type;
        EXPECT_TRUE(has_line(build_script_files(project, "600").script, ".Global        $RampEn = \"Yes\"")) << type;
    }
}

TEST(EncoderScript, AMuteTimeIsTheNumberInItsName) {
    project_snapshot project = sample_project();
    project.items[1].name = "Mute: 0250 mS";
    const script_files files = build_script_files(project, "600");
    EXPECT_TRUE(has_line(files.script, ".Silence\t\t     I0002\t\t= ((250 * FS)/1000)"));
    EXPECT_TRUE(has_line(files.table, " I0002       Mute          --        Mute: 250 mS"));
    // The group's item line shows the name as the file list holds it.
    EXPECT_TRUE(has_line(files.table, " I0002     Mute: 0250 mS"));

    EXPECT_EQ(mute_time("Mute: 250 mS"), 250);
    EXPECT_EQ(mute_time("Mute: 7 mS"), 7);
    EXPECT_EQ(mute_time("Mute: abc mS"), 1);
    EXPECT_EQ(mute_time("Mute:  mS"), 1);
    EXPECT_EQ(mute_time("Mute"), 1);
    EXPECT_EQ(mute_time(""), 1);
}

TEST(EncoderScript, EachFailureKeepsTheLinesWrittenBeforeIt) {
    struct failure_case {
        const char* what;
        project_snapshot project;
        std::string offset;
        int result;
        size_t script_lines;
        size_t table_lines;
    };
    std::vector<failure_case> cases;
    project_snapshot project = sample_project();
    project.device_code = "";
    cases.push_back({"no device code", project, "600", -4, 7, 6});
    project = sample_project();
    project.mode_code = "";
    cases.push_back({"no mode code", project, "600", -5, 7, 6});
    cases.push_back({"no Offset", sample_project(), "", -6, 8, 6});
    project = sample_project();
    for (voice_group& group : project.groups) group.item_list.clear();
    cases.push_back({"no group items", project, "600", -7, 11, 7});
    project = sample_project();
    project.compression_index = -1;
    cases.push_back({"a row in the format without a format chosen", project, "600", -3, 3, 3});
    project = sample_project();
    project.groups[2].item_list = "I00090";
    cases.push_back({"an entry no row holds", project, "600", -9, 30, 21});
    project = sample_project();
    project.items[3].path = "/snd/be\nep.wav";
    cases.push_back({"a line break in a path", project, "600", -11, 5, 4});
    project = sample_project();
    project.output_type = "VOUT[PWM] - Level 2\r";
    cases.push_back({"a line break in the output type", project, "600", -11, 10, 6});

    for (const failure_case& c : cases) {
        const script_files files = build_script_files(c.project, c.offset);
        EXPECT_EQ(files.result, c.result) << c.what;
        EXPECT_EQ(files.script, first_lines(kSampleScript, c.script_lines)) << c.what;
        EXPECT_EQ(files.table, first_lines(kSampleTable, c.table_lines)) << c.what;
    }
}

TEST(EncoderScript, NoFormatChosenFailsAfterTheGlobalLines) {
    project_snapshot project = sample_project();
    project.items.erase(project.items.begin());  // no row in a compressed format
    project.groups[0].item_list = "I00020";
    project.compression_index = -1;
    project.compression_text = "";  // an empty row's type text must not pass for the format's
    const script_files files = build_script_files(project, "600");
    EXPECT_EQ(files.result, -8);
    EXPECT_EQ(files.script, crlf_lines({".Define        FS      = 8000", kScriptRule,
                                        ".Silence       DefSil  = ((100 * FS)/1000)",
                                        ".Silence\t\t     I0002\t\t= ((250 * FS)/1000)",
                                        ".PCM\t\t\t     I0003 \t\t= \"/snd/beep.wav\"", kScriptRule,
                                        ".Global         $Rck        = 10000000", ".Global        $Offset = 600h",
                                        ".Global        $RampEn = \"No\"", ".Global        $SbtMax = 3",
                                        kScriptRule}));
    EXPECT_EQ(files.table, crlf_lines({"[Source]    [Type]        [Rate]    [File path or Mute time]", kDashes,
                                       " I0002       Mute          --        Mute: 250 mS",
                                       " I0003       8-bit PCM     8000      /snd/beep.wav", kEquals,
                                       "Ramp-Type   : VOUT[PWM] - Level 2"}));
}

class EncoderScriptFiles : public ::testing::Test {
protected:
    std::string folder = test_folder();
    std::string script = folder + "/Script.txt";
    std::string table = folder + "/Table.txt";
};

TEST_F(EncoderScriptFiles, BothFilesAreRewrittenWhole) {
    write_text(script, std::string(5000, 'x'));
    write_text(table, std::string(5000, 'y'));
    EXPECT_EQ(write_script_files(sample_project(), "600", script, table), 0);
    EXPECT_EQ(read_text(script), all_lines(kSampleScript));
    EXPECT_EQ(read_text(table), all_lines(kSampleTable));
}

TEST_F(EncoderScriptFiles, AFailedStepLeavesItsLinesOnDisk) {
    EXPECT_EQ(write_script_files(sample_project(), "", script, table), -6);
    EXPECT_EQ(read_text(script), first_lines(kSampleScript, 8));
    EXPECT_EQ(read_text(table), first_lines(kSampleTable, 6));
}

TEST_F(EncoderScriptFiles, AScriptThatCannotBeCreatedTouchesNeitherFile) {
    write_text(table, "old table");
    EXPECT_EQ(write_script_files(sample_project(), "600", folder + "/missing/Script.txt", table), -1);
    EXPECT_EQ(read_text(table), "old table");
    // A folder in the script's place, and a pipe without a reader, which must not be waited on.
    std::filesystem::create_directory(script);
    EXPECT_EQ(write_script_files(sample_project(), "600", script, table), -1);
    const std::string pipe = folder + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(write_script_files(sample_project(), "600", pipe, table), -1);
    EXPECT_EQ(read_text(table), "old table");
}

TEST_F(EncoderScriptFiles, ATableThatCannotBeCreatedLeavesTheScriptEmpty) {
    write_text(script, "old script");
    std::filesystem::create_directory(table);
    EXPECT_EQ(write_script_files(sample_project(), "600", script, table), -2);
    EXPECT_TRUE(file_exists(script));
    EXPECT_EQ(read_text(script), "");
}

TEST_F(EncoderScriptFiles, AFullDiskFailsTheStep) {
    EXPECT_EQ(write_script_files(sample_project(), "600", "/dev/full", table), -10);
    EXPECT_EQ(read_text(table), all_lines(kSampleTable));
    EXPECT_EQ(write_script_files(sample_project(), "600", script, "/dev/full"), -10);
    EXPECT_EQ(read_text(script), all_lines(kSampleScript));
    // A failed step that also met a full disk still fails.
    EXPECT_EQ(write_script_files(sample_project(), "", "/dev/full", table), -10);
}

}  // namespace
