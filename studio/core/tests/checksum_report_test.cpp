#include "checksum_report.h"
#include "compile_commands.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "command_line.h"
#include "pipeline_test_support.h"
#include "test_files.h"

namespace {

// The checker's report for an image that passes, with a text header of its own.
std::string checker_report(const std::string& header_rows, const std::string& result_line) {
    return "------- QavChk V1.8 (2010.03.10)---------\n"
           "Qav input: </d/x.dat>\n"
           "(========================<Header Begin>========================)\n" +
           header_rows +
           "(========================<Header   End>========================)\n" + result_line;
}

TEST(ChecksumReport, TheResultLineGivesItsFourDigits) {
    EXPECT_EQ(checksum_from_report(checker_report("KOVA3k10\n", "Check Sum: [0A1F] Verify OK.\n")), "0A1F");
    EXPECT_EQ(checksum_from_report(checker_report("", "Check Sum: [FFFF] Verify OK.")), "FFFF");
    EXPECT_EQ(checksum_from_report("Check Sum: [1234] Verify OK.\r\n"), "1234");
}

TEST(ChecksumReport, ATextHeaderHoldingTheWordsDoesNotCount) {
    EXPECT_EQ(checksum_from_report(checker_report("Check Sum: [1111] Verify OK.\nCheck Sum: soon\n",
                                                  "Check Sum: [2222] Verify OK.\n")),
              "2222");
    // A header with a checksum line and a result that does not verify gives no checksum.
    EXPECT_EQ(checksum_from_report(checker_report("Check Sum: [1111] Verify OK.\n",
                                                  "Check Sum: [2222] unmatched with[3333]\n")),
              std::nullopt);
}

TEST(ChecksumReport, AMissingOrMalformedResultLineGivesNoChecksum) {
    EXPECT_EQ(checksum_from_report(""), std::nullopt);
    EXPECT_EQ(checksum_from_report(checker_report("KOVA3k10\n", "")), std::nullopt);
    for (const std::string line : {"Check Sum: [0a1f] Verify OK.", "Check Sum: [0A1] Verify OK.",
                                   "Check Sum: [0A1FF] Verify OK.", "Check Sum: [0G1F] Verify OK.",
                                   "Check Sum: [0A1F] Verify OK", "Check Sum: [0A1F] Verify OK. ",
                                   "Check Sum:[0A1F] Verify OK.", "Check Sum: [0A1F]"}) {
        EXPECT_EQ(checksum_from_report(checker_report("", line + "\n")), std::nullopt) << line;
    }
}

TEST(ChecksumReport, TheOutcomeSaysWhichMessageToShow) {
    const std::string report = checker_report("", "Check Sum: [BEEF] Verify OK.\n");
    const checksum_query_result ok = checksum_query_outcome(0, report, "failed", "load error");
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(ok.text, "BEEF");
    for (const int exit_code : {-5, -2, 97, 98}) {
        const checksum_query_result failed = checksum_query_outcome(exit_code, report, "failed", "load error");
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.text, "failed");
    }
    const checksum_query_result unread = checksum_query_outcome(0, std::nullopt, "failed", "load error");
    EXPECT_FALSE(unread.ok);
    EXPECT_EQ(unread.text, "load error");
    // A message four characters long must not pass for a checksum.
    const checksum_query_result short_message = checksum_query_outcome(0, std::string("x\n"), "failed", "Nein");
    EXPECT_FALSE(short_message.ok);
    EXPECT_EQ(short_message.text, "Nein");
}

TEST(ChecksumReport, OnlyARegularFileIsRead) {
    const std::string folder = test_folder();
    write_text(folder + "/temp.csm", "Check Sum: [0001] Verify OK.\n");
    EXPECT_EQ(read_checksum_report(folder + "/temp.csm"), "Check Sum: [0001] Verify OK.\n");
    EXPECT_EQ(read_checksum_report(folder + "/none.csm"), std::nullopt);
    EXPECT_EQ(read_checksum_report(folder), std::nullopt);
    const std::string pipe = folder + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(read_checksum_report(pipe), std::nullopt);
}

TEST(CompileCommands, RomSizesHaveAtLeastSixUpperCaseDigits) {
    EXPECT_EQ(rom_size_text(0x8000), "008000");
    EXPECT_EQ(rom_size_text(0xABCDE), "0ABCDE");
    EXPECT_EQ(rom_size_text(0x1000000), "1000000");
    EXPECT_EQ(rom_size_text(0), "000000");
    EXPECT_EQ(rom_size_text(-1), "FFFFFFFF");
    EXPECT_EQ(rom_size_text(INT32_MIN), "80000000");
}

TEST(CompileCommands, EachPathIsOneQuotedArgument) {
    const std::string dir = "/opt/my kova/";
    EXPECT_EQ(encoder_command_line(dir), "\"/opt/my kova/bin/tonepack\" \"/opt/my kova/temp/Script.txt\" "
                                         "\"/opt/my kova/temp/Script.mf0\" ");
    EXPECT_EQ(image_builder_command_line(dir), "\"/opt/my kova/bin/qavgen\" \"/opt/my kova/temp/result.lns\" "
                                               "\"/opt/my kova/temp/QavGen.log\" +w");
    EXPECT_EQ(image_checker_command_line(dir, "/d/a b.dat", "008000"),
              "\"/opt/my kova/bin/qavchk\" \"/d/a b.dat\" 008000 \"/opt/my kova/temp/temp.csm\" ");
    EXPECT_EQ(split_command_line(image_checker_command_line(dir, "/d/a b.dat", "008000")),
              (std::vector<std::string>{"/opt/my kova/bin/qavchk", "/d/a b.dat", "008000",
                                        "/opt/my kova/temp/temp.csm"}));
}

}  // namespace
