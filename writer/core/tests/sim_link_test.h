// A test with a writer simulator of its own and a link opened to it.
#pragma once

#include "writer_command.h"
#include "writer_link.h"
#include "writer_sim_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class sim_link_test : public ::testing::Test {
protected:
    // Starts the simulator with these arguments and opens the link with 64
    // input buffers and the pipe depth probed up to pipe_depth (0: up to the
    // buffers, as the writer programs open it).
    void open(const std::vector<std::string>& arguments = {}, bool non_overlapped = false, int pipe_depth = 0) {
        ASSERT_TRUE(sim.start(arguments));
        link = std::make_unique<writer_link>(sim.backend());
        ASSERT_TRUE(link->open_writer(kWriterVendorId, kWriterProductId, 64, pipe_depth, non_overlapped))
            << link->link_status_text();
        mark();
    }
    // Remembers how many reports the simulator has had so far.
    void mark() { reports_seen_ = sim.received_reports().size(); }
    // The reports the simulator received since the last mark.
    std::vector<writer_sim_process::payload> sent_since_mark() const {
        const auto all = sim.received_reports();
        return {all.begin() + static_cast<long>(std::min(reports_seen_, all.size())), all.end()};
    }
    std::vector<uint8_t> commands_since_mark() const {
        std::vector<uint8_t> commands;
        for (const auto& report : sent_since_mark()) commands.push_back(report[0]);
        return commands;
    }
    // One payload with the command in byte 0 and a marker byte.
    static std::array<uint8_t, 64> payload_of(writer_command command, uint8_t marker = 0) {
        std::array<uint8_t, 64> payload{};
        payload[0] = code_of(command);
        payload[10] = marker;
        return payload;
    }

    writer_sim_process sim;
    std::unique_ptr<writer_link> link;

private:
    size_t reports_seen_ = 0;
};

// Milliseconds that a call takes.
template <typename Call>
long elapsed_ms(Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}
