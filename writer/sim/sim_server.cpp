#include "sim_server.h"

#include "sim_socket_info.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <utility>

namespace {

using sim_clock = sim_frame_grid::clock;

// Reports that follow each other within this time count as one burst.
constexpr int kBurstQuietMs = 50;
constexpr int kListenBacklog = 8;

void send_message(int fd, const void* data, size_t size) {
    // A client that is gone shows as the end of the connection at the next read.
    (void)::send(fd, data, size, MSG_NOSIGNAL);
}

// When the message reached the socket: the kernel's stamp, which a late wake of the simulator does not move
// (the time of reading when there is none).
sim_clock::time_point arrival_time(msghdr& header) {
    const sim_clock::time_point now = sim_clock::now();
    for (cmsghdr* part = CMSG_FIRSTHDR(&header); part != nullptr; part = CMSG_NXTHDR(&header, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_TIMESTAMPNS) continue;
        timespec stamp{};
        std::memcpy(&stamp, CMSG_DATA(part), sizeof stamp);
        // The stamp is on the system clock: carried over as its age.
        const auto stamped = std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec);
        const auto age = std::chrono::system_clock::now().time_since_epoch() - stamped;
        return now - std::clamp<sim_clock::duration>(
                         std::chrono::duration_cast<sim_clock::duration>(age), sim_clock::duration::zero(),
                         std::chrono::seconds(1));
    }
    return now;
}

}  // namespace

sim_server::sim_server(const sim_options& options, sim_writer& writer, sim_trace& trace)
    : options_(options), writer_(writer), trace_(trace) {
    if (options.report_delay_us > 0) frames_.emplace(std::chrono::microseconds(options.report_delay_us));
}

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

bool sim_server::read_report(int fd, sim_payload& payload, sim_clock::time_point& arrival) {
    uint8_t message[kSimReportSize] = {};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    for (;;) {
        iovec part{message, sizeof message};
        msghdr header{};
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(fd, &header, 0);
        if (got > 0) {
            arrival = arrival_time(header);
            break;
        }
        if (got < 0 && errno == EINTR) continue;
        return false;
    }
    std::memcpy(payload.data(), message + 1, payload.size());
    return true;
}

sim_server::connection_end sim_server::serve(int fd) {
    const int stamped = 1;
    (void)::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &stamped, sizeof stamped);
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
        sim_clock::time_point arrival;
        if (!read_report(fd, payload, arrival)) return connection_end::closed;
        bool dropped = false;
        bool restart = take_report(payload, arrival, outbox, dropped);
        int burst = 1;
        while (reorder_above > 0 && !restart && !dropped) {
            pollfd poller{fd, POLLIN, 0};
            if (::poll(&poller, 1, kBurstQuietMs) <= 0) break;
            if (!read_report(fd, payload, arrival)) return connection_end::closed;
            restart = take_report(payload, arrival, outbox, dropped);
            ++burst;
        }
        if (dropped) return connection_end::closed;
        if (reorder_above > 0 && burst > reorder_above && outbox.size() >= 2) {
            std::swap(outbox[outbox.size() - 1], outbox[outbox.size() - 2]);
        }
        // A restarting writer refuses connections from the moment it answers.
        if (restart) close_socket();
        for (const auto& message : outbox) send_message(fd, message.data(), message.size());
        if (frames_) frames_->answered(sim_clock::now());
        if (restart) return connection_end::restart;
    }
}

bool sim_server::take_report(const sim_payload& payload, sim_clock::time_point arrival,
                             std::vector<std::vector<uint8_t>>& outbox, bool& dropped) {
    const int number = ++report_number_;
    const sim_faults& faults = options_.faults;
    trace_.report(payload);
    if (faults.drop_at == number) {
        dropped = true;
        return false;
    }
    const sim_step step = writer_.handle_report(payload);
    // The answer waits for the end of the report's frame.
    if (frames_) std::this_thread::sleep_until(frames_->frame_for(arrival));
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
