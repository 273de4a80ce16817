#include "compile_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "pipeline_test_support.h"
#include "test_files.h"

namespace {

TEST(CompileReportName, AFourCharacterExtensionIsReplacedAndAnythingElseKept) {
    EXPECT_EQ(compile_report_path("/d/hello.dat"), "/d/hello.log");
    EXPECT_EQ(compile_report_path("/d/x.bin"), "/d/x.log");
    EXPECT_EQ(compile_report_path("/d/x.da"), "/d/x.da.log");
    EXPECT_EQ(compile_report_path("/d/x"), "/d/x.log");
    EXPECT_EQ(compile_report_path("/d/.dat"), "/d/.log");
    EXPECT_EQ(compile_report_path("/d/x.data"), "/d/x.data.log");
    // The folder's characters never count as the name's.
    EXPECT_EQ(compile_report_path("/d.x/ab"), "/d.x/ab.log");
    EXPECT_EQ(compile_report_path("/a.b/c"), "/a.b/c.log");
    EXPECT_EQ(compile_report_path("x.dat"), "x.log");
}

TEST(CompileReportName, TheReportNeverReplacesTheDatFile) {
    EXPECT_EQ(compile_report_path("/d/x.log"), "/d/x.log.log");
    EXPECT_EQ(compile_report_path("/d/.log"), "/d/.log.log");
    EXPECT_EQ(compile_report_path("/d/x.LOG"), "/d/x.log");
}

const std::string kHead = crlf_lines({
                              "================================================================================",
                              "=                ZORVA Inc KOVA DAT Setup File Ver: 2.0.0                      =",
                              "================================================================================",
                              "Device      : KOVA3K10",
                              "Output File : /d/my hello.dat",
                          }) +
                          "Check Sum   : ";

TEST(CompileReport, TheHeadIsTheBannerDeviceFileAndTheChecksumLabel) {
    EXPECT_EQ(compile_report_head("KOVA3K10", "/d/my hello.dat"), kHead);
}

class CompileReportFile : public ::testing::Test {
protected:
    void SetUp() override { write_text(table, table_text); }

    int write(const checksum_query_result& checksum) {
        return write_compile_report(report, table, "KOVA3K10", "/d/my hello.dat", [&] {
            ++queries;
            EXPECT_EQ(read_text(report), kHead) << "the head is on disk before the checksum is asked for";
            return checksum;
        });
    }

    std::string folder = test_folder();
    std::string report = folder + "/hello.log";
    std::string table = folder + "/Table.txt";
    std::string table_text = "[Source]\r\n--\r\n \xE4\xBD\xA0 bytes\r\nkept\r\nno end";
    int queries = 0;
};

TEST_F(CompileReportFile, AReportWithAChecksumEndsWithTheTableAsItIs) {
    write_text(report, std::string(3000, 'x'));
    EXPECT_EQ(write({true, "1A2B"}), 0);
    EXPECT_EQ(read_text(report), kHead + "1A2B\r\n" + table_text);
    EXPECT_EQ(queries, 1);
}

TEST_F(CompileReportFile, NoChecksumLeavesTheReportEndingInItsLabel) {
    EXPECT_EQ(write({false, "Check Sum Failed!"}), -3);
    EXPECT_EQ(read_text(report), kHead);
}

TEST_F(CompileReportFile, AMissingTableLeavesAnEmptyReportAndAsksNothing) {
    std::filesystem::remove(table);
    write_text(report, "old report");
    EXPECT_EQ(write_compile_report(report, table, "KOVA3K10", "/d/my hello.dat", [&] {
                  ++queries;
                  return checksum_query_result{true, "0000"};
              }),
              -2);
    EXPECT_EQ(read_text(report), "");
    EXPECT_EQ(queries, 0);
    // A folder in the table's place does not count as a table either.
    std::filesystem::create_directory(table);
    EXPECT_EQ(write_compile_report(report, table, "KOVA3K10", "/d/my hello.dat", [] {
                  return checksum_query_result{true, "0000"};
              }),
              -2);
}

TEST_F(CompileReportFile, AReportThatCannotBeCreatedTouchesNothing) {
    EXPECT_EQ(write_compile_report(folder + "/none/x.log", table, "KOVA3K10", "/d/x.dat", [] {
                  return checksum_query_result{true, "0000"};
              }),
              -1);
    std::filesystem::create_directory(report);
    EXPECT_EQ(write_compile_report(report, table, "KOVA3K10", "/d/x.dat", [] {
                  return checksum_query_result{true, "0000"};
              }),
              -1);
    EXPECT_EQ(read_text(table), table_text);
}

TEST_F(CompileReportFile, AFullDiskFailsTheStepBeforeTheCheckerRuns) {
    EXPECT_EQ(write_compile_report("/dev/full", table, "KOVA3K10", "/d/x.dat", [&] {
                  ++queries;
                  return checksum_query_result{true, "0000"};
              }),
              -4);
    EXPECT_EQ(queries, 0);
}

}  // namespace
