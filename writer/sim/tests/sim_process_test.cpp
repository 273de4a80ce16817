// The simulator as a process: its chip memory outlives connections and lives
// in its memory file, and it refuses connections while it restarts.
#include "writer_connect.h"
#include "writer_link.h"
#include "writer_protocol.h"
#include "writer_sim_fixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>

namespace {

TEST(sim_process_test, memory_is_kept_across_connections_and_in_its_file) {
    writer_sim_process sim;
    std::vector<uint8_t> preload(8, 0xFF);
    preload[1] = 0xA5;
    sim.preload_memory(preload);
    ASSERT_TRUE(sim.start({"--chip", "KOVA3k10"}));
    {
        writer_link link(sim.backend());
        ASSERT_TRUE(open_writer_link(link, false));
        set_address(link, 0x7FFF);
        write_byte(link, 0x12);
    }
    writer_link link(sim.backend());
    ASSERT_TRUE(open_writer_link(link, false));
    set_address(link, 0x7FFF);
    EXPECT_EQ(read_byte(link), 0x12);
    set_address(link, 1);
    EXPECT_EQ(read_byte(link), 0xA5);
    const std::vector<uint8_t> chip = sim.memory();
    ASSERT_EQ(chip.size(), 0x8000u);
    EXPECT_EQ(chip[0x7FFF], 0x12);
    EXPECT_EQ(chip[2], 0xFF);
}

TEST(sim_process_test, restart_refuses_connections_for_a_while) {
    writer_sim_process sim;
    // Long enough that the open right after the restart comes while the writer is away, however busy the machine.
    ASSERT_TRUE(sim.start({"--restart-ms", "2000"}));
    writer_link link(sim.backend());
    ASSERT_TRUE(open_writer_link(link, false));
    enter_boot_loader(link);
    link.close_writer();
    EXPECT_FALSE(open_writer_link(link, false));
    EXPECT_TRUE(open_once_back([&] { return open_writer_link(link, false); }));
    const auto lines = sim.trace_lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "restart boot"), lines.end());
}

TEST(sim_process_test, a_second_start_waits_for_the_new_simulator_not_the_old_socket_file) {
    writer_sim_process sim;
    ASSERT_TRUE(sim.start());
    sim.stop();
    // An ended simulator leaves its socket file behind.
    struct stat status {};
    ASSERT_EQ(::stat(sim.socket_path().c_str(), &status), 0);
    ASSERT_TRUE(sim.start({"--chip", "KOVA21"}));
    writer_link link(sim.backend());
    EXPECT_TRUE(open_writer_link(link, false)) << link.link_status_text();
}

TEST(sim_process_test, report_delay_models_a_usb_frame) {
    writer_sim_process sim;
    ASSERT_TRUE(sim.start({"--report-delay-us", "1000"}));
    writer_link link(sim.backend());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(open_writer_link(link, false));  // 64 probe reports
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(64));
}

TEST(sim_process_test, bad_command_line_ends_the_simulator) {
    writer_sim_process sim;
    EXPECT_FALSE(sim.start({"--chip", "KOVA999"}));
    EXPECT_FALSE(sim.running());
}

}  // namespace
