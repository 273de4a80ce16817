#include "sim_server.h"

#include "sim_socket_info.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <utility>

namespace {

// Reports that follow each other within this time count as one burst.
constexpr int kBurstQuietMs = 50;
constexpr int kListenBacklog = 8;

void send_message(int fd, const void* data, size_t size) {
    // A client that is gone shows as the end of the connection at the next read.
    (void)::send(fd, data, size, MSG_NOSIGNAL);
}

}  // namespace

sim_server::sim_server(const sim_options& options, sim_writer& writer, sim_trace& trace)
    : options_(options), writer_(writer), trace_(trace) {}

bool sim_server::listen_socket() {
    // The socket is bound under a side name and renamed when it listens, so
    // that its path appears only once connections are accepted.
    const std::string side_path = options_.socket_path + "~";
    sockaddr_un address;
    if (!sim_socket_address(side_path, address)) {
        std::fprintf(stderr, "kova-writer-sim: socket path too long: %s\n", options_.socket_path.c_str());
        return false;
    }
    ::unlink(options_.socket_path.c_str());
    ::unlink(side_path.c_str());
    listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, kListenBacklog) != 0 || ::rename(side_path.c_str(), options_.socket_path.c_str()) != 0) {
        std::perror("kova-writer-sim: socket");
        return false;
    }
    return true;
}

void sim_server::close_socket() {
    ::close(listener_);
    listener_ = -1;
    ::unlink(options_.socket_path.c_str());
}

bool sim_server::run() {
    if (!listen_socket()) return false;
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            std::perror("kova-writer-sim: accept");
            return false;
        }
        trace_.event("connect");
        const connection_end end = serve(fd);
        ::close(fd);
        trace_.event("disconnect");
        if (end != connection_end::restart) continue;

        // A restarting writer is absent from the bus for a while.
        trace_.event(restart_mode_ == sim_mode::application ? "restart application" : "restart boot");
        std::this_thread::sleep_for(std::chrono::milliseconds(restart_ms_));
        writer_.set_mode(restart_mode_);
        if (!listen_socket()) return false;
    }
}

bool sim_server::read_report(int fd, sim_payload& payload) {
    uint8_t message[kSimReportSize] = {};
    for (;;) {
        const ssize_t got = ::recv(fd, message, sizeof message, 0);
        if (got > 0) break;
        if (got < 0 && errno == EINTR) continue;
        return false;
    }
    std::memcpy(payload.data(), message + 1, payload.size());
    return true;
}

sim_server::connection_end sim_server::serve(int fd) {
    sim_socket_info info;
    info.vendor_id = options_.vendor_id;
    info.product_id = options_.product_id;
    info.queue_max = options_.queue_max;
    info.manufacturer = "ZORVA";
    info.product = "KovaWriter USB Writer";
    const std::string greeting = format_sim_socket_info(info);
    send_message(fd, greeting.data(), greeting.size());
    writer_.start_connection();
    report_number_ = 0;

    const int reorder_above = options_.faults.reorder_above;
    for (;;) {
        std::vector<std::vector<uint8_t>> outbox;
        sim_payload payload;
        if (!read_report(fd, payload)) return connection_end::closed;
        bool dropped = false;
        bool restart = take_report(payload, outbox, dropped);
        int burst = 1;
        while (reorder_above > 0 && !restart && !dropped) {
            pollfd poller{fd, POLLIN, 0};
            if (::poll(&poller, 1, kBurstQuietMs) <= 0) break;
            if (!read_report(fd, payload)) return connection_end::closed;
            restart = take_report(payload, outbox, dropped);
            ++burst;
        }
        if (dropped) return connection_end::closed;
        if (reorder_above > 0 && burst > reorder_above && outbox.size() >= 2) {
            std::swap(outbox[outbox.size() - 1], outbox[outbox.size() - 2]);
        }
        // A restarting writer refuses connections from the moment it answers.
        if (restart) close_socket();
        for (const auto& message : outbox) send_message(fd, message.data(), message.size());
        if (restart) return connection_end::restart;
    }
}

// Reports that follow each other closely go out one frame apart on a fixed
// grid, as on a full-speed bus, so that the sleep's own lateness does not add
// up over a long transfer. After an idle spell the grid starts anew.
void sim_server::wait_for_frame() {
    if (options_.report_delay_us <= 0) return;
    const auto frame = std::chrono::microseconds(options_.report_delay_us);
    const auto now = std::chrono::steady_clock::now();
    if (now > next_frame_ + frame) next_frame_ = now;
    next_frame_ += frame;
    std::this_thread::sleep_until(next_frame_);
}

bool sim_server::take_report(const sim_payload& payload, std::vector<std::vector<uint8_t>>& outbox, bool& dropped) {
    const int number = ++report_number_;
    const sim_faults& faults = options_.faults;
    trace_.report(payload);
    if (faults.drop_at == number) {
        dropped = true;
        return false;
    }
    const sim_step step = writer_.handle_report(payload);
    wait_for_frame();
    if (step.send && faults.no_answer.count(number) == 0) {
        std::vector<uint8_t> message(kSimReportSize, 0x00);
        std::memcpy(message.data() + 1, step.answer.data(), step.answer.size());
        if (faults.garbage_from > 0 && number >= faults.garbage_from) {
            std::minstd_rand random(static_cast<unsigned>(number));
            for (uint8_t& byte : message) byte = static_cast<uint8_t>(random());
        }
        if (faults.short_from > 0 && number >= faults.short_from) message.resize(static_cast<size_t>(faults.short_size));
        outbox.push_back(message);
        if (faults.extra_from > 0 && number >= faults.extra_from) outbox.push_back(message);
    }
    if (step.restart) {
        restart_mode_ = step.restart_mode;
        restart_ms_ = step.restart_ms > 0 ? step.restart_ms : options_.restart_ms;
    }
    return step.restart;
}
