// The simulator's socket side: a Unix-domain SOCK_SEQPACKET socket on which
// the writer serves one connection at a time. Each connection starts with a
// greeting (ids, strings, accepted queue size); then every 65-byte message is
// one report. Transport faults (missing, garbled, short, doubled or reordered
// answers, a dropped connection) are applied here.
#pragma once

#include "sim_frame_grid.h"
#include "sim_options.h"
#include "sim_trace.h"
#include "sim_writer.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

class sim_server {
public:
    sim_server(const sim_options& options, sim_writer& writer, sim_trace& trace);
    // Serves until the process is ended; false with a message when the socket cannot be set up.
    bool run();

private:
    enum class connection_end { closed, restart };

    bool listen_socket();
    void close_socket();
    connection_end serve(int fd);
    // Reads one report and the time it reached the socket; false at the end of the connection.
    bool read_report(int fd, sim_payload& payload, sim_frame_grid::clock::time_point& arrival);
    // Carries out one report and queues what goes back; true when the writer restarts.
    bool take_report(const sim_payload& payload, sim_frame_grid::clock::time_point arrival,
                     std::vector<std::vector<uint8_t>>& outbox, bool& dropped);

    const sim_options& options_;
    sim_writer& writer_;
    sim_trace& trace_;
    int listener_ = -1;
    int report_number_ = 0;
    sim_mode restart_mode_ = sim_mode::application;
    int restart_ms_ = 0;
    // Only with a report delay.
    std::optional<sim_frame_grid> frames_;
};
