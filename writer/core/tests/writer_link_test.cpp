#include "sim_link_test.h"

#include <cstdlib>
#include <cstring>

namespace {

using link_test = sim_link_test;

// Opening: which step the search ends at, and what stays open.

TEST(writer_link_open, no_simulator_means_no_interface) {
    writer_sim_process sim;  // not started: nothing listens on its socket
    writer_link link(sim.backend());
    EXPECT_FALSE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, false));
    EXPECT_EQ(link.link_status(), 1);
    EXPECT_EQ(link.link_status_text(), "PNP node attached");
    EXPECT_EQ(link.read_handle_open(), 0);
}

TEST_F(link_test, another_product_id_is_not_kept) {
    ASSERT_TRUE(sim.start({"--pid", "fe09"}));
    writer_link link(sim.backend());
    EXPECT_FALSE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, false));
    EXPECT_EQ(link.link_status(), -6);
    EXPECT_EQ(link.link_status_text(), "VID & PID Un-Matched");
    EXPECT_EQ(link.query_handle_open() + link.read_handle_open() + link.write_handle_open(), 0);
    EXPECT_FALSE(link.send_report(payload_of(writer_command::stream_end).data()));
}

TEST_F(link_test, no_accepted_queue_size_fails_the_open) {
    ASSERT_TRUE(sim.start({"--queue-max", "0"}));
    writer_link link(sim.backend());
    EXPECT_FALSE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, false));
    EXPECT_EQ(link.link_status(), -8);
    EXPECT_EQ(link.link_status_text(), "Adjust Input Buffer Fail");
    EXPECT_EQ(link.read_handle_open(), 0);
}

TEST_F(link_test, overlapped_open_sizes_queue_and_probes_full_depth) {
    open();
    EXPECT_EQ(link->link_status(), 7);
    EXPECT_EQ(link->link_status_text(), "Overlap Read Event Create Succ");
    EXPECT_EQ(link->get_input_buffers(), 64);
    EXPECT_EQ(link->get_pipe_depth(), 64);
    EXPECT_EQ(link->get_manufacturer(), "ZORVA");
    EXPECT_EQ(link->get_product(), "KovaWriter USB Writer");
    EXPECT_EQ(link->query_handle_open() + link->read_handle_open() + link->write_handle_open(), 3);

    // The probe's reports: stream ends with count 1, numbered in byte 62.
    const auto probe = sim.received_reports();
    ASSERT_EQ(probe.size(), 64u);
    EXPECT_EQ(probe[5][0], 0x00);
    EXPECT_EQ(probe[5][1], 0x01);
    EXPECT_EQ(probe[5][62], 5);
    EXPECT_EQ(probe[5][2], '3');

    link->close_writer();
    EXPECT_EQ(link->query_handle_open() + link->read_handle_open() + link->write_handle_open(), 0);
    EXPECT_EQ(link->get_pipe_depth(), 64);  // closing keeps the counts
}

TEST_F(link_test, open_on_an_open_link_starts_again) {
    open();
    ASSERT_TRUE(link->open_writer(kWriterVendorId, kWriterProductId, 8, 4, false));
    EXPECT_EQ(link->get_input_buffers(), 8);
    EXPECT_EQ(link->get_pipe_depth(), 4);
}

TEST_F(link_test, non_overlapped_open_has_depth_one_and_no_probe_traffic) {
    open({}, true);
    EXPECT_EQ(link->link_status(), 8);
    EXPECT_EQ(link->get_pipe_depth(), 1);
    EXPECT_TRUE(link->non_overlapped());
    EXPECT_TRUE(sim.received_reports().empty());
    link->drain_input();  // does nothing on this form
    EXPECT_TRUE(sim.received_reports().empty());
}

// Input buffers.

TEST_F(link_test, input_buffers_halve_until_accepted) {
    ASSERT_TRUE(sim.start({"--queue-max", "100"}));
    writer_link link(sim.backend());
    ASSERT_TRUE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 1, false));
    EXPECT_EQ(link.set_input_buffers(1), 64);   // starts at 128
    EXPECT_EQ(link.set_input_buffers(96), 96);
    EXPECT_EQ(link.set_input_buffers(0), 96);   // only reads the count
    EXPECT_EQ(link.set_input_buffers(200), 100);  // 200 refused, 100 accepted
    EXPECT_EQ(link.set_input_buffers(101), 50);
}

TEST_F(link_test, a_request_of_one_starts_at_128) {
    ASSERT_TRUE(sim.start({"--queue-max", "128"}));
    writer_link link(sim.backend());
    ASSERT_TRUE(link.open_writer(kWriterVendorId, kWriterProductId, 1, 1, false));
    EXPECT_EQ(link.get_input_buffers(), 128);
}

TEST(writer_link_closed, buffers_and_reads_need_a_read_handle) {
    writer_link link(make_socket_backend(""));
    EXPECT_EQ(link.set_input_buffers(64), 0);
    EXPECT_EQ(link.get_input_buffers(), 0);
    uint8_t buffer[65];
    EXPECT_EQ(link.receive_report(buffer, 10), 0);
    EXPECT_FALSE(link.receive_raw_report(buffer, 65));
    EXPECT_EQ(link.get_manufacturer(), "");
}

// Pipe depth.

TEST_F(link_test, probe_finds_32_when_64_come_out_of_order) {
    open({"--reorder-above", "32"});
    EXPECT_EQ(link->get_pipe_depth(), 32);
    // Attempts of 64 then 32 reports.
    EXPECT_EQ(sim.received_reports().size(), 96u);
}

TEST_F(link_test, probe_that_never_passes_keeps_the_depth) {
    open({"--reorder-above", "1"});
    EXPECT_EQ(link->get_pipe_depth(), 1);
    EXPECT_EQ(sim.received_reports().size(), 64u + 32 + 16 + 8 + 4 + 2);
}

TEST_F(link_test, probe_time_out_is_a_parameter) {
    std::vector<std::string> first_burst_unanswered;
    for (int report = 1; report <= 64; ++report) {
        first_burst_unanswered.insert(first_burst_unanswered.end(), {"--no-answer", std::to_string(report)});
    }
    ASSERT_TRUE(sim.start(first_burst_unanswered));
    // Longer than the default, so that only the waits given can make the time: a lower bound, which a busy
    // machine cannot break.
    writer_link link(sim.backend(), 1000);
    // Three waits run out: emptying the input before each attempt, and the
    // first answer of the burst of 64.
    const long waited =
        elapsed_ms([&] { ASSERT_TRUE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, false)); });
    EXPECT_EQ(link.get_pipe_depth(), 32);
    EXPECT_GE(waited, 3 * 1000 - 10);
}

TEST_F(link_test, probe_is_bounded_by_the_request) {
    open();
    EXPECT_EQ(link->probe_pipe_depth(16), 16);
    EXPECT_EQ(link->probe_pipe_depth(1000), 64);
}

// Reports.

// The wait for an answer that comes: it ends when the answer is there, so it can be long enough for a busy machine.
constexpr int kAnswerComes = 10000;

TEST_F(link_test, each_answer_carries_the_result_of_the_report_before) {
    open();
    uint8_t answer[65];
    std::memset(answer, 0xEE, sizeof answer);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x11).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x22).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    EXPECT_EQ(answer[10], 0x11);
    EXPECT_EQ(answer[64], 0);  // a zero after the payload
}

TEST_F(link_test, time_out_then_a_clean_read) {
    open({"--no-answer", "65"});  // the first report after the 64 of the probe
    uint8_t answer[65];
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x31).data()));
    const long waited = elapsed_ms([&] { EXPECT_EQ(link->receive_report(answer, 300), 0); });
    EXPECT_GE(waited, 280);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x32).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    EXPECT_EQ(answer[10], 0x31);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x33).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    EXPECT_EQ(answer[10], 0x32);
}

TEST_F(link_test, a_one_byte_report_reads_as_nothing) {
    open({"--short-from", "65", "--short-size", "1"});
    uint8_t answer[65];
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end).data()));
    EXPECT_EQ(link->receive_report(answer, 1000), 0);
}

TEST_F(link_test, raw_reports_keep_the_report_id) {
    open();
    uint8_t raw[65];
    std::memset(raw, 0xEE, sizeof raw);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x44).data()));
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x45).data()));
    ASSERT_TRUE(link->receive_raw_report(raw, 65));
    ASSERT_TRUE(link->receive_raw_report(raw, 65));
    EXPECT_EQ(raw[0], 0x00);
    EXPECT_EQ(raw[11], 0x44);
}

TEST_F(link_test, drain_discards_surplus_answers) {
    open({"--extra-from", "65"});
    uint8_t answer[65];
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x51).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    link->drain_input();
    EXPECT_EQ(link->receive_report(answer, 100), 0);
}

TEST_F(link_test, a_lost_connection_fails_at_once) {
    open({"--drop-at", "66"});
    uint8_t answer[65];
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end).data()));
    ASSERT_EQ(link->receive_report(answer, kAnswerComes), 64);
    link->send_report(payload_of(writer_command::stream_end).data());
    const long waited = elapsed_ms([&] {
        EXPECT_EQ(link->receive_report(answer, 30000), 0);
        EXPECT_FALSE(link->receive_raw_report(answer, 65));
        EXPECT_FALSE(link->send_report(payload_of(writer_command::stream_end).data()));
    });
    EXPECT_LT(waited, 10000);  // far from the wait given
}

TEST_F(link_test, non_overlapped_reads_use_their_own_bound) {
    open({}, true);
    uint8_t answer[65];
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x61).data()));
    // The time-out given is not used on this form; the answer still comes.
    ASSERT_EQ(link->receive_report(answer, 0), 64);
    ASSERT_TRUE(link->send_report(payload_of(writer_command::stream_end, 0x62).data()));
    ASSERT_EQ(link->receive_report(answer, 0), 64);
    EXPECT_EQ(answer[10], 0x61);
}

// Platform.

TEST(writer_platform, linux_counts_as_the_nt_family) { EXPECT_EQ(get_platform_id(), 2); }

TEST_F(link_test, the_variable_chooses_the_simulator) {
    ASSERT_TRUE(sim.start());
    ::setenv(kWriterSimEnv, sim.socket_path().c_str(), 1);
    writer_link link;
    EXPECT_TRUE(link.open_writer(kWriterVendorId, kWriterProductId, 64, 0, false));
    ::unsetenv(kWriterSimEnv);
}

TEST(writer_strings, wide_text_keeps_low_bytes_up_to_a_zero_low_byte) {
    EXPECT_EQ(wide_to_narrow(L"Kova"), "Kova");
    EXPECT_EQ(wide_to_narrow(std::wstring{L'A', static_cast<wchar_t>(0x142), L'B'}), "ABB");
    EXPECT_EQ(wide_to_narrow(std::wstring{L'A', static_cast<wchar_t>(0x100), L'B'}), "A");
}

}  // namespace
