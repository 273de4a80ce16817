// The files KovaStudio writes, taken by the real image builder and checker:
// the link script makes an image, the checker's report gives its checksum, and
// the compile report carries it.
#include <gtest/gtest.h>

#include <filesystem>

#include "checksum_report.h"
#include "child_process.h"
#include "command_line.h"
#include "compile_commands.h"
#include "compile_report.h"
#include "encoder_script_files.h"
#include "link_script.h"
#include "pipeline_test_support.h"
#include "template_image.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kHeaderOffset = 0x200;  // the template's file offset of ROM address 0

class PipelineChildren : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program + "bin/1x2");
        fs::create_directories(program + "temp");
        fs::create_directories(folder + "/my dats");
        for (const char* name : {"qavgen", "qavchk"}) {
            fs::copy_file(std::string(KOVA_DIR) + "/bin/" + name, program + "bin/" + name);
        }
        template_spec spec;
        spec.model = "KOVA3k10";
        spec.offset = 0x600;
        spec.header_offset = kHeaderOffset;
        std::string error;
        const std::vector<uint8_t> image_template = template_file(spec, error);
        ASSERT_TRUE(error.empty()) << error;
        write_file(program + "bin/1x2/Y122.pgm", image_template);
        write_file(program + "temp/Script.mf0", std::vector<uint8_t>(300, 0x5A));
        project.compression_index = 0;
        project.compression_text = "4-bit ADPCM";
        project.output_type = "COUT[DAC]";
    }

    // Runs a command line the way the worker thread does; the exit code.
    static int run(const std::string& command_line) {
        std::vector<std::string> args = split_command_line(command_line);
        const std::string path = args.front();
        args.erase(args.begin());
        return run_child(path, args).exit_code;
    }

    checksum_query_result query_checksum(const std::string& rom_size) {
        write_text(program + "temp/temp.csm", "");
        const int exit_code = run(image_checker_command_line(program, dat, rom_size));
        return checksum_query_outcome(exit_code, read_checksum_report(program + "temp/temp.csm"),
                                      "Check Sum Failed!", "DAT file load error!");
    }

    std::string folder = test_folder();
    std::string program = folder + "/kova/";
    std::string dat = folder + "/my dats/hello world.dat";
    project_snapshot project = sample_project();
};

TEST_F(PipelineChildren, TheLinkScriptBuildsAnImageWhoseChecksumReachesTheReport) {
    ASSERT_EQ(write_link_script(project, "600", program, dat), 0);
    ASSERT_EQ(run(image_builder_command_line(program)), 0) << read_text(program + "temp/QavGen.log");
    const std::vector<uint8_t> image = read_file(dat);
    ASSERT_GE(image.size(), static_cast<size_t>(kHeaderOffset + 0x600 + 300));
    EXPECT_EQ(image, read_file(program + "temp/shadow.dat"));
    // The option bytes just below the voice data, in plain: DAC output on device Y1.
    EXPECT_EQ(image[kHeaderOffset + 0x5E0], 0xCC);
    for (int address = 0x5E1; address < 0x600; ++address) EXPECT_EQ(image[kHeaderOffset + address], 0xFF) << address;
    EXPECT_EQ(image[kHeaderOffset + 0x600], 0x5A);

    const checksum_query_result checksum = query_checksum(rom_size_text(project.device_size));
    ASSERT_TRUE(checksum.ok) << checksum.text;
    const int stored = image[kHeaderOffset + 14] | image[kHeaderOffset + 15] << 8;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", stored);
    EXPECT_EQ(checksum.text, digits);

    ASSERT_EQ(write_script_files(project, "600", program + "temp/Script.txt", program + "temp/Table.txt"), 0);
    const std::string report = compile_report_path(dat);
    EXPECT_EQ(report, folder + "/my dats/hello world.log");
    EXPECT_EQ(write_compile_report(report, program + "temp/Table.txt", project.device_text, dat,
                                   [&] { return query_checksum(rom_size_text(project.device_size)); }),
              0);
    EXPECT_EQ(read_text(report), compile_report_head(project.device_text, dat) + digits + "\r\n" +
                                     read_text(program + "temp/Table.txt"));
}

TEST_F(PipelineChildren, AChecksumOverTheWrongSizeFailsTheReport) {
    ASSERT_EQ(write_link_script(project, "600", program, dat), 0);
    ASSERT_EQ(run(image_builder_command_line(program)), 0);
    write_text(program + "temp/Table.txt", "table\r\n");
    const std::string report = compile_report_path(dat);
    EXPECT_EQ(write_compile_report(report, program + "temp/Table.txt", project.device_text, dat,
                                   [&] { return query_checksum(rom_size_text(-1)); }),
              -3);
    EXPECT_EQ(read_text(report), compile_report_head(project.device_text, dat));
    // A missing image fails the checker too.
    fs::remove(dat);
    const checksum_query_result missing = query_checksum("008000");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.text, "Check Sum Failed!");
}

TEST_F(PipelineChildren, AScriptStoppedAfterTwoLinesMakesNoImage) {
    project.device_size = -1;
    ASSERT_EQ(write_link_script(project, "600", program, dat), -6);
    // The builder runs what there is and ends normally: the caller must not go on after -6.
    EXPECT_EQ(run(image_builder_command_line(program)), 0);
}

}  // namespace
