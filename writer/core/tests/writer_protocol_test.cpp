#include "sim_link_test.h"
#include "writer_protocol.h"

#include <cstring>

namespace {

using protocol_test = sim_link_test;
using cmd = writer_command;

std::vector<uint8_t> codes(std::initializer_list<cmd> commands) {
    std::vector<uint8_t> out;
    for (const cmd command : commands) out.push_back(code_of(command));
    return out;
}

// Link test.

TEST_F(protocol_test, link_test_passes_with_five_echoes) {
    open();
    EXPECT_TRUE(sync_test(*link, false, false));
    const auto sent = sent_since_mark();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sent[0].data()) + 2, 62),
              "[10] Synchronization Test [01234356789abcdef0123456789ABCDEF].");
    EXPECT_EQ(sent[0][1], 62);
    EXPECT_EQ(sent[5][3], '6');
    EXPECT_EQ(sent[5][4], '5');
    EXPECT_EQ(sent[6][0], 0x00);
}

TEST_F(protocol_test, one_wrong_echo_fails_but_all_five_are_sent) {
    open({"--bad-echo", "4"});
    EXPECT_FALSE(sync_test(*link, false, false));
    EXPECT_EQ(commands_since_mark(), codes({cmd::link_test, cmd::link_test, cmd::link_test, cmd::link_test,
                                            cmd::link_test, cmd::link_test, cmd::stream_end}));
}

TEST_F(protocol_test, link_test_prints_requests_answers_and_missing_answers) {
    open({"--no-answer", "67"});  // the second echo of the test
    testing::internal::CaptureStdout();
    EXPECT_FALSE(sync_test(*link, false, true));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Write <[21] Synchronization Test [01234356789abcdef0123456789ABCDEF].>\n"), std::string::npos);
    EXPECT_NE(out.find("Read  <[20] Synchronization Test"), std::string::npos);
    EXPECT_NE(out.find("read fail.\n\n"), std::string::npos);
}

TEST_F(protocol_test, link_test_on_a_closed_link_reports_the_failed_writes) {
    open();
    link->close_writer();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(sync_test(*link, false, false));
    const std::string out = testing::internal::GetCapturedStdout();
    size_t lines = 0;
    for (size_t at = out.find("Fail to write the usb report\n"); at != std::string::npos;
         at = out.find("Fail to write the usb report\n", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 5u);
}

// Firmware version.

TEST_F(protocol_test, version_of_the_application) {
    open({"--version", "1.10"});
    int major = 0, minor = 0;
    EXPECT_EQ(get_firmware_version(*link, major, minor), 1);
    EXPECT_EQ(minor, 10);
    const auto sent = sent_since_mark();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(std::memcmp(sent[1].data() + 5, "abcd", 4), 0);
}

TEST_F(protocol_test, version_of_the_boot_loader_has_bit_7) {
    open({"--boot"});
    int major = 0, minor = 0;
    EXPECT_EQ(get_firmware_version(*link, major, minor), 0x81);
    EXPECT_EQ(minor, 8);
}

TEST_F(protocol_test, version_answer_without_its_mark_gives_255) {
    open({"--garbage-from", "66"});
    int major = 0, minor = 0;
    EXPECT_EQ(get_firmware_version(*link, major, minor), 255);
    EXPECT_EQ(minor, 255);
}

// Chips.

TEST_F(protocol_test, probe_reports_the_detected_chip) {
    open({"--chip", "KOVA3k21"});
    uint8_t detected[2] = {};
    EXPECT_TRUE(probe_chip(*link, 0xF6, detected));
    EXPECT_EQ(detected[0], 0x09);
    EXPECT_EQ(commands_since_mark(), codes({cmd::select_chip_type, cmd::test_chip, cmd::fetch_result}));
    EXPECT_EQ(sent_since_mark()[1][6], 0);  // not forced
}

TEST_F(protocol_test, probe_of_an_empty_socket_or_another_series_fails) {
    open({"--chip", "none"});
    uint8_t detected[2] = {0x77, 0x77};
    EXPECT_FALSE(probe_chip(*link, 0xF6, detected));
    EXPECT_EQ(detected[0], 0x77);
    sim.stop();
    open({"--chip", "KOVA42"});
    EXPECT_FALSE(probe_chip(*link, 0xF6, detected));
    EXPECT_TRUE(probe_chip(*link, 0x86, detected));
    EXPECT_EQ(detected[0], 0x18);
}

TEST_F(protocol_test, select_moves_to_the_start_address) {
    open({"--chip", "KOVA3k42"});
    EXPECT_TRUE(select_chip(*link, 0xF3, 0x12345, false));
    EXPECT_EQ(commands_since_mark(), codes({cmd::select_chip_type, cmd::test_chip, cmd::fetch_result,
                                            cmd::address_reset_first, cmd::address_reset_second, cmd::set_address}));
    const auto sent = sent_since_mark();
    EXPECT_EQ(sent[5][5], 0x45);
    EXPECT_EQ(sent[5][6], 0x23);
    EXPECT_EQ(sent[5][7], 0x01);
    EXPECT_EQ(sent[5][8], 0x00);
}

TEST_F(protocol_test, select_at_zero_sends_no_address) {
    open();
    EXPECT_TRUE(select_chip(*link, 0xF1, 0, false));
    EXPECT_EQ(commands_since_mark(), codes({cmd::select_chip_type, cmd::test_chip, cmd::fetch_result,
                                            cmd::address_reset_first, cmd::address_reset_second}));
}

TEST_F(protocol_test, select_without_a_chip_fails_unless_forced) {
    open({"--chip", "none"});
    testing::internal::CaptureStdout();
    EXPECT_FALSE(select_chip(*link, 0xF1, 0, false));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "IC Test Fail\n");
    EXPECT_EQ(commands_since_mark().size(), 3u);

    mark();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(select_chip(*link, 0xF1, 0, true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(commands_since_mark(), codes({cmd::select_chip_type, cmd::test_chip, cmd::fetch_result,
                                            cmd::address_reset_first, cmd::address_reset_second}));
    EXPECT_EQ(sent_since_mark()[1][6], 1);  // forced
}

// Addresses and single bytes.

TEST_F(protocol_test, set_address_zero_sends_nothing) {
    open();
    set_address(*link, 0);
    EXPECT_TRUE(sent_since_mark().empty());
}

TEST_F(protocol_test, bytes_are_read_and_programmed_at_the_current_address) {
    std::vector<uint8_t> contents(0x300, 0xFF);
    contents[0x200] = 0x3C;
    sim.preload_memory(contents);
    open();
    set_address(*link, 0x200);
    EXPECT_EQ(read_byte(*link), 0x3C);
    EXPECT_EQ(read_byte(*link), 0xFF);  // the address moved on by one

    reset_address(*link);
    set_address(*link, 0x100);
    mark();
    EXPECT_EQ(write_byte(*link, 0xF0), 0xF0);
    EXPECT_EQ(commands_since_mark(), codes({cmd::program, cmd::stream_end, cmd::finish_program, cmd::stream_end}));
    reset_address(*link);
    set_address(*link, 0x100);
    write_byte(*link, 0x0F);  // bits only ever clear
    EXPECT_EQ(sim.memory()[0x100], 0x00);
    reset_address(*link);
    set_address(*link, 0x100);
    EXPECT_EQ(read_byte(*link), 0x00);
}

TEST_F(protocol_test, a_chip_that_will_not_program_stays_blank) {
    open({"--unprogrammable"});
    write_byte(*link, 0x12);
    reset_address(*link);
    EXPECT_EQ(read_byte(*link), 0xFF);
}

TEST_F(protocol_test, a_read_protected_chip_gives_no_read_answer) {
    open({"--read-protected"});
    EXPECT_EQ(read_byte(*link), 0x00);
}

// Oscillator.

TEST_F(protocol_test, frequency_falls_as_the_code_rises) {
    open({"--chip", "KOVA3k10"});
    const int32_t high = measure_frequency(*link, 38);
    const int32_t low = measure_frequency(*link, 127);
    EXPECT_GE(high, 14000000);
    EXPECT_LE(low, 5000000);
    EXPECT_GT(low, 0);
    EXPECT_EQ(commands_since_mark(),
              codes({cmd::measure_oscillator, cmd::fetch_result, cmd::measure_oscillator, cmd::fetch_result}));
}

TEST_F(protocol_test, no_frequency_without_a_3k_chip) {
    open({"--chip", "KOVA10"});
    EXPECT_EQ(measure_frequency(*link, 60), 0);
}

std::array<uint8_t, 65> oscillator_answer(uint8_t code, uint16_t first, uint16_t others) {
    std::array<uint8_t, 65> answer{};
    answer[5] = 0x33;
    answer[6] = 0x4B;
    answer[7] = 0x2D;
    answer[8] = code;
    for (int i = 0; i < 4; ++i) {
        const uint16_t count = i == 0 ? first : others;
        answer[9 + 2 * i] = static_cast<uint8_t>(count);
        answer[10 + 2 * i] = static_cast<uint8_t>(count >> 8);
    }
    answer[17] = 0xAA;
    answer[18] = 0x55;
    return answer;
}

TEST(oscillator_answer_test, counts_give_the_frequency) {
    EXPECT_EQ(oscillator_frequency(oscillator_answer(0x40, 1000, 1000).data(), 64, 0x40), 3527000);
    EXPECT_GT(oscillator_frequency(oscillator_answer(0x40, 4, 4).data(), 64, 0x40), 0);  // 4 is the least count
    EXPECT_EQ(oscillator_frequency(oscillator_answer(0x40, 3, 1000).data(), 64, 0x40), 0);
    // Counts 4, 0, 0, 0 average 1: 3527 MHz does not fit the result.
    EXPECT_EQ(oscillator_frequency(oscillator_answer(0x40, 4, 0).data(), 64, 0x40), 0);
    EXPECT_EQ(oscillator_frequency(oscillator_answer(0x40, 1000, 1000).data(), 64, 0x41), 0);
    auto no_end_mark = oscillator_answer(0x40, 1000, 1000);
    no_end_mark[18] = 0x56;
    EXPECT_EQ(oscillator_frequency(no_end_mark.data(), 64, 0x40), 0);
    auto wrong_letter = oscillator_answer(0x40, 1000, 1000);
    wrong_letter[6] = 'k';
    EXPECT_EQ(oscillator_frequency(wrong_letter.data(), 64, 0x40), 0);
    EXPECT_EQ(oscillator_frequency(oscillator_answer(0x40, 1000, 1000).data(), 0, 0x40), 0);
}

// Restarts and the end of a run.

TEST_F(protocol_test, restart_commands_switch_between_application_and_boot_loader) {
    // A restart long enough that the open right after it comes while the writer is away, however busy the
    // machine is.
    open({"--restart-ms", "2000"});
    const auto reopen = [this] { return link->open_writer(kWriterVendorId, kWriterProductId, 64, 0, false); };
    EXPECT_GT(enter_boot_loader(*link), 0);
    link->close_writer();
    EXPECT_FALSE(reopen());  // still restarting
    EXPECT_EQ(link->link_status(), 1);
    ASSERT_TRUE(open_once_back(reopen));
    int major = 0, minor = 0;
    EXPECT_EQ(get_firmware_version(*link, major, minor), 0x81);

    start_application(*link, 500);
    link->close_writer();
    ASSERT_TRUE(open_once_back(reopen));
    EXPECT_EQ(get_firmware_version(*link, major, minor), 1);
}

TEST_F(protocol_test, a_writer_stuck_in_its_boot_loader_stays_there) {
    open({"--boot", "--stay-in-boot", "--restart-ms", "100"});
    start_application(*link);
    link->close_writer();
    ASSERT_TRUE(open_once_back([this] { return link->open_writer(kWriterVendorId, kWriterProductId, 64, 0, false); }));
    int major = 0, minor = 0;
    EXPECT_EQ(get_firmware_version(*link, major, minor), 0x81);
}

TEST_F(protocol_test, end_session_resets_and_selects_chip_type_zero) {
    open();
    end_session(*link);
    EXPECT_EQ(commands_since_mark(), codes({cmd::address_reset_first, cmd::select_chip_type}));
    EXPECT_EQ(sent_since_mark()[1][5], 0);
}

TEST_F(protocol_test, simulation_commands) {
    open();
    EXPECT_EQ(simulate_chip(*link, 0xF2), 1);
    end_simulation(*link);
    EXPECT_EQ(commands_since_mark(),
              codes({cmd::simulate_first, cmd::simulate_second, cmd::fetch_result, cmd::simulate_first}));
    const auto sent = sent_since_mark();
    EXPECT_EQ(sent[0][5], 0xF2);
    EXPECT_EQ(sent[3][5], 0x00);
}

}  // namespace
