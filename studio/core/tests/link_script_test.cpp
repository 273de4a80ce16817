#include "link_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "pipeline_test_support.h"
#include "test_files.h"

namespace {

// Device Y1, ADPCM, mode 2, DAC output, a ROM of 0x8000 bytes.
project_snapshot dac_project() {
    project_snapshot project = sample_project();
    project.compression_index = 0;
    project.compression_text = "4-bit ADPCM";
    project.output_type = "COUT[DAC]";
    return project;
}

const std::string kDacScript = crlf_lines({
    "%DupFile@=\"/opt/kova/temp/shadow.dat\"",
    "%OutFile@=\"/home/u/my dats/x.dat\"",
    "%RomSize@=\"008000\"",
    "%AddFile@=\"/opt/kova/bin/1x2/Y122.pgm\"",
    "%AddFile@=\"/opt/kova/temp/Script.mf0\"",
    "%SetParm@=\"[0005e0]=CC\"",
    "%SetParm@=\"[0005e1]=FF\"",
    "%SetParm@=\"[0005e2]=FF\"",
    "%SetParm@=\"[0005e3]=FF\"",
    "%SetParm@=\"[0005e4]=FF\"",
    "%SetParm@=\"[0005e5]=FF\"",
    "%SetParm@=\"[0005e6]=FF\"",
    "%SetParm@=\"[0005e7]=FF\"",
    "%SetParm@=\"[0005e8]=FF\"",
    "%SetParm@=\"[0005e9]=FF\"",
    "%SetParm@=\"[0005ea]=FF\"",
    "%SetParm@=\"[0005eb]=FF\"",
    "%SetParm@=\"[0005ec]=FF\"",
    "%SetParm@=\"[0005ed]=FF\"",
    "%SetParm@=\"[0005ee]=FF\"",
    "%SetParm@=\"[0005ef]=FF\"",
    "%SetParm@=\"[0005f0]=FF\"",
    "%SetParm@=\"[0005f1]=FF\"",
    "%SetParm@=\"[0005f2]=FF\"",
    "%SetParm@=\"[0005f3]=FF\"",
    "%SetParm@=\"[0005f4]=FF\"",
    "%SetParm@=\"[0005f5]=FF\"",
    "%SetParm@=\"[0005f6]=FF\"",
    "%SetParm@=\"[0005f7]=FF\"",
    "%SetParm@=\"[0005f8]=FF\"",
    "%SetParm@=\"[0005f9]=FF\"",
    "%SetParm@=\"[0005fa]=FF\"",
    "%SetParm@=\"[0005fb]=FF\"",
    "%SetParm@=\"[0005fc]=FF\"",
    "%SetParm@=\"[0005fd]=FF\"",
    "%SetParm@=\"[0005fe]=FF\"",
    "%SetParm@=\"[0005ff]=FF\"",
    "%CheckSum@=\"Generate\"",
});

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(LinkScript, AllThirtyEightLines) {
    const link_script_plan plan = plan_link_script(dac_project(), "600", "/opt/kova/", "/home/u/my dats/x.dat");
    EXPECT_EQ(plan.result, 0);
    EXPECT_TRUE(plan.opens_file);
    EXPECT_EQ(plan.text, kDacScript);
}

TEST(LinkScript, LargeAddressesAndSizesArePrintedInFull) {
    project_snapshot project = sample_project();
    project.device_code = "Z6";
    project.device_size = 0x1000000;
    project.output_type = "VOUT[PWM] - Level 6";
    project.mode_code = "8";
    const std::vector<std::string> lines =
        lines_of(plan_link_script(project, "1000020", "/k/", "/d/y.dat").text);
    ASSERT_EQ(lines.size(), 38u);
    EXPECT_EQ(lines[2], "%RomSize@=\"1000000\"\r");
    EXPECT_EQ(lines[3], "%AddFile@=\"/k/bin/6x8/Z678.pgm\"\r");
    EXPECT_EQ(lines[5], "%SetParm@=\"[1000000]=08\"\r");
    EXPECT_EQ(lines[6], "%SetParm@=\"[1000001]=7C\"\r");
    EXPECT_EQ(lines[7], "%SetParm@=\"[1000002]=FF\"\r");
    EXPECT_EQ(lines[36], "%SetParm@=\"[100001f]=FF\"\r");
}

TEST(LinkScript, EveryValueEndsWithItsQuote) {
    const link_script_plan plan = plan_link_script(dac_project(), "600", "/opt/kova/", "/home/u/my dats/x.dat");
    for (const std::string& line : lines_of(plan.text)) {
        ASSERT_GE(line.size(), 2u);
        EXPECT_EQ(line.substr(line.size() - 2), "\"\r") << line;
    }
}

TEST(LinkScript, TheLowestOffsetPutsTheOptionBytesAtAddressZero) {
    const std::vector<std::string> lines = lines_of(plan_link_script(dac_project(), "20", "/k/", "/d/y.dat").text);
    ASSERT_EQ(lines.size(), 38u);
    EXPECT_EQ(lines[5], "%SetParm@=\"[000000]=CC\"\r");
    EXPECT_EQ(lines[36], "%SetParm@=\"[00001f]=FF\"\r");
}

TEST(LinkScript, ChecksBeforeOpeningComeInTheirOrder) {
    struct refusal {
        const char* what;
        project_snapshot project;
        std::string offset;
        int result;
    };
    std::vector<refusal> cases;
    project_snapshot project = dac_project();
    project.device_code = "";
    project.compression_index = 5;
    project.mode_code = "";
    cases.push_back({"no device code before everything", project, "", -1});
    project.device_code = "Y1";
    cases.push_back({"no format before no mode code", project, "", -2});
    project.compression_index = -1;
    cases.push_back({"no format chosen", project, "", -2});
    project.compression_index = 1;
    cases.push_back({"no mode code before the Offset", project, "", -3});
    project = dac_project();
    project.device_size = -1;
    for (const std::string offset : {"", "0", "xyz", "600h", "0x600", "1f", "-40", "FFFFFFFF", "100000000"}) {
        cases.push_back({"an Offset that gives no address before the ROM size", project, offset, -7});
    }
    for (const refusal& c : cases) {
        const link_script_plan plan = plan_link_script(c.project, c.offset, "/k/", "/d/y.dat");
        EXPECT_EQ(plan.result, c.result) << c.what << " " << c.offset;
        EXPECT_FALSE(plan.opens_file) << c.what << " " << c.offset;
    }
    EXPECT_EQ(voice_data_offset("600"), 0x600);
    EXPECT_EQ(voice_data_offset("7fffffff"), 0x7FFFFFFF);
    EXPECT_EQ(voice_data_offset("1f"), std::nullopt);
}

TEST(LinkScript, NoRomSizeAboveZeroLeavesTheFirstTwoLines) {
    for (const int32_t size : {-1, 0, -5}) {
        project_snapshot project = dac_project();
        project.device_size = size;
        const link_script_plan plan = plan_link_script(project, "600", "/opt/kova/", "/home/u/my dats/x.dat");
        EXPECT_EQ(plan.result, -6) << size;
        EXPECT_TRUE(plan.opens_file);
        EXPECT_EQ(plan.text, crlf_lines({"%DupFile@=\"/opt/kova/temp/shadow.dat\"",
                                         "%OutFile@=\"/home/u/my dats/x.dat\""}));
    }
}

class LinkScriptFile : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(folder + "temp"); }
    std::string folder = test_folder() + "/";
    std::string script = folder + "temp/result.lns";
};

TEST_F(LinkScriptFile, TheScriptIsWrittenToTempAndReplacesTheOldOne) {
    write_text(script, std::string(4000, 'x'));
    EXPECT_EQ(write_link_script(dac_project(), "600", folder, "/d/y.dat"), 0);
    const std::string text = read_text(script);
    EXPECT_EQ(lines_of(text).size(), 38u);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "%DupFile@=\"" + folder + "temp/shadow.dat\"");
    EXPECT_EQ(text, plan_link_script(dac_project(), "600", folder, "/d/y.dat").text);
}

TEST_F(LinkScriptFile, ARefusalBeforeOpeningLeavesTheOldScript) {
    write_text(script, "old");
    EXPECT_EQ(write_link_script(dac_project(), "", folder, "/d/y.dat"), -7);
    project_snapshot project = dac_project();
    project.device_code = "";
    EXPECT_EQ(write_link_script(project, "600", folder, "/d/y.dat"), -1);
    EXPECT_EQ(read_text(script), "old");
}

TEST_F(LinkScriptFile, NoRomSizeLeavesTwoLinesOnDisk) {
    project_snapshot project = dac_project();
    project.device_size = -1;
    EXPECT_EQ(write_link_script(project, "600", folder, "/d/y.dat"), -6);
    EXPECT_EQ(read_text(script), crlf_lines({"%DupFile@=\"" + folder + "temp/shadow.dat\"", "%OutFile@=\"/d/y.dat\""}));
}

TEST_F(LinkScriptFile, AScriptThatCannotBeOpenedOrWrittenFailsTheStep) {
    std::filesystem::create_directory(script);
    EXPECT_EQ(write_link_script(dac_project(), "600", folder, "/d/y.dat"), -5);
    EXPECT_EQ(write_link_script(dac_project(), "600", folder + "none/", "/d/y.dat"), -5);
    std::filesystem::remove(script);
    std::filesystem::create_symlink("/dev/full", script);
    EXPECT_EQ(write_link_script(dac_project(), "600", folder, "/d/y.dat"), -4);
}

}  // namespace
