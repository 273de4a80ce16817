// Opening the writer, the link test and the firmware version.
#include "writer_program_fixture.h"

#include <algorithm>

namespace {

using connection_test = writer_program_test;

TEST_F(connection_test, no_writer_exits_minus_4) {
    const child_result result = run("qav3kwriter", {"Blank"});  // nothing listens on the socket
    EXPECT_EQ(result.exit_code, -4);
    EXPECT_TRUE(contains(result.output, "[01] KovaWriter   connect Fail.\n\n"));
}

TEST_F(connection_test, a_link_test_that_fails_on_both_links_exits_minus_5) {
    start_writer("KOVA3k10", {"--bad-echo", "3"});
    const child_result result = run("qav3kwriter", {"Blank"});
    EXPECT_EQ(result.exit_code, -5);
    EXPECT_TRUE(contains(result.output, "[02] KovaWriter operation Fail.\n\n"));
}

TEST_F(connection_test, a_writer_without_a_version_answer_is_restarted_and_reopened) {
    // Report 73 is the second version question, after the 64 of the pipe
    // probe and the 7 of the link test.
    start_writer("KOVA3k10", {"--no-answer", "73"});
    const child_result result = run("qav3kwriter", {"Empty"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "     Fimware version is [01.08].\n"));
    const std::vector<uint8_t> commands = sim.received_commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), 0xFA), commands.end());
}

TEST_F(connection_test, a_failed_link_test_falls_back_to_the_non_overlapped_link) {
    // Report 70 is the last echo of the first link test (after the 64 reports
    // of the pipe probe); the non-overlapped link sends no probe and never
    // reaches its report 70 in a Test run.
    start_writer("KOVA3k10", {"--no-answer", "70"});
    const child_result result = run("qav3kwriter", {"Test"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "     Operatin with 0064 input buffer & 0001 pipe stage!!!\n"));
}

TEST_F(connection_test, firmware_of_another_major_version_exits_minus_4) {
    start_writer("KOVA3k10", {"--version", "2.01"});
    const child_result result = run("qavwriter", {"Blank"});
    EXPECT_EQ(result.exit_code, -4);
    EXPECT_TRUE(contains(result.output,
                         "[01] KovaWriter connect   Fail.\n     cannot get correct firmware version!\n\n"));
}

TEST_F(connection_test, the_connection_lines_report_buffers_pipe_and_version) {
    start_writer("KOVA3k10");
    const child_result result = run("qav3kwriter", {"Empty"});
    EXPECT_TRUE(contains(result.output, "[01] KovaWriter connect   Succ.\n[02] KovaWriter operation Succ.\n"
                                        "     Operatin with 0064 input buffer & 0064 pipe stage!!!\n"
                                        "     Fimware version is [01.08].\n"));
}

}  // namespace
