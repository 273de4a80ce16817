// A writer that answers garbage, answers too short, drops the connection in
// the middle of a command or sends more answers than asked: every operation
// ends within its waits, and nothing crashes.
#include "sim_link_test.h"
#include "writer_protocol.h"

namespace {

using bad_input_test = sim_link_test;

// Bounds on a run that must not sit out its answer waits (a second and more each, some of them ten), with room
// for a busy machine: the fixed pauses and exchanges alone, and the operations at their normal pace.
constexpr long kNoWaitMs = 4000;
constexpr long kNormalPaceMs = 10000;

// Runs the protocol's operations once; the sum of their answer waits (over
// twenty seconds) is far above the bound each test puts on it.
void run_every_operation(writer_link& link) {
    testing::internal::CaptureStdout();
    int major = 0, minor = 0;
    uint8_t detected[2] = {};
    EXPECT_FALSE(sync_test(link, false, true));
    EXPECT_EQ(get_firmware_version(link, major, minor), 255);
    EXPECT_FALSE(probe_chip(link, 0xF6, detected));
    EXPECT_FALSE(select_chip(link, 0xF1, 0x1000, false));
    set_address(link, 0x100);
    read_byte(link);
    write_byte(link, 0x55);
    EXPECT_EQ(measure_frequency(link, 0x40), 0);
    end_session(link);
    testing::internal::GetCapturedStdout();
}

TEST_F(bad_input_test, garbage_answers) {
    open({"--garbage-from", "65"});
    const long waited = elapsed_ms([&] { run_every_operation(*link); });
    EXPECT_LT(waited, kNormalPaceMs);
}

TEST_F(bad_input_test, answers_too_short) {
    open({"--short-from", "65", "--short-size", "4"});
    const long waited = elapsed_ms([&] { run_every_operation(*link); });
    // Short answers count as missing ones only where bytes are looked at, so
    // the operations still go their normal pace.
    EXPECT_LT(waited, kNormalPaceMs);
}

TEST_F(bad_input_test, connection_dropped_in_the_middle_of_a_command) {
    open({"--drop-at", "66", "--chip", "KOVA3k10"});
    const long waited = elapsed_ms([&] {
        testing::internal::CaptureStdout();
        uint8_t detected[2] = {};
        EXPECT_FALSE(probe_chip(*link, 0xF6, detected));  // its second report is dropped
        int major = 0, minor = 0;
        EXPECT_EQ(get_firmware_version(*link, major, minor), 255);
        EXPECT_FALSE(sync_test(*link, false, false));
        EXPECT_EQ(measure_frequency(*link, 0x40), 0);
        testing::internal::GetCapturedStdout();
    });
    // Lost connections fail at once; only the fixed pauses remain.
    EXPECT_LT(waited, kNoWaitMs);
}

TEST_F(bad_input_test, more_answers_than_asked) {
    open({"--extra-from", "65", "--chip", "KOVA3k10"});
    const long waited = elapsed_ms([&] {
        testing::internal::CaptureStdout();
        // Every answer comes twice: each read takes an older answer than the
        // one it waits for, so the operations see stale results, and none waits long.
        EXPECT_FALSE(sync_test(*link, false, false));
        uint8_t detected[2] = {};
        EXPECT_FALSE(probe_chip(*link, 0xF6, detected));
        testing::internal::GetCapturedStdout();
    });
    EXPECT_LT(waited, kNoWaitMs);
    link->drain_input();  // takes what piled up
    uint8_t answer[65];
    EXPECT_EQ(link->receive_report(answer, 50), 0);
}

TEST_F(bad_input_test, a_writer_that_never_answers) {
    std::vector<std::string> silent;
    for (int report = 65; report <= 71; ++report) silent.insert(silent.end(), {"--no-answer", std::to_string(report)});
    open(silent);
    testing::internal::CaptureStdout();
    const long waited = elapsed_ms([&] { EXPECT_FALSE(sync_test(*link, false, true)); });
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("read fail.\n\n"), std::string::npos);
    EXPECT_GE(waited, 7 * 1000 - 100);  // every one of the seven waits is kept
    EXPECT_LT(waited, 7 * 1000 + kNoWaitMs);
}

}  // namespace
