// The writer simulator through a Unix-domain SOCK_SEQPACKET connection: each
// message is one 65-byte report, after the simulator's greeting. The three
// handles of the link share the one connection; it closes with the last of
// them. No connectable simulator means that no HID interface is present.
#include "hid_port.h"
#include "sim_socket_info.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

constexpr int kGreetingWaitMs = 2000;
constexpr int kSendLimitSeconds = 5;  // a simulator that stops reading cannot stall a write for ever

// Waits for input up to timeout_ms (negative: no limit); false on time-out.
bool wait_readable(int fd, int timeout_ms) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    for (;;) {
        int wait = -1;
        if (timeout_ms >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        pollfd poller{fd, POLLIN, 0};
        const int ready = ::poll(&poller, 1, wait);
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return true;  // let the read report the failure
    }
}

class sim_connection {
public:
    sim_connection(int fd, sim_socket_info info) : fd_(fd), info_(std::move(info)) {}
    ~sim_connection() { ::close(fd_); }
    sim_connection(const sim_connection&) = delete;
    sim_connection& operator=(const sim_connection&) = delete;

    const sim_socket_info& info() const { return info_; }

    int send(const uint8_t* data, size_t size) {
        if (lost_) return -1;
        const ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EPIPE || errno == ECONNRESET) lost_ = true;
            return -1;
        }
        return static_cast<int>(sent);
    }

    int receive(uint8_t* buffer, size_t size, int timeout_ms) {
        if (lost_) return -1;
        if (!wait_readable(fd_, timeout_ms)) return 0;
        const ssize_t got = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (got > 0) return static_cast<int>(got);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
        lost_ = true;  // end of the connection, or a broken one
        return -1;
    }

private:
    int fd_;
    sim_socket_info info_;
    bool lost_ = false;
};

class socket_handle final : public hid_handle {
public:
    explicit socket_handle(std::shared_ptr<sim_connection> connection) : connection_(std::move(connection)) {}

    bool get_attributes(uint16_t& vendor_id, uint16_t& product_id) override {
        vendor_id = connection_->info().vendor_id;
        product_id = connection_->info().product_id;
        return true;
    }
    bool set_input_buffers(unsigned count) override {
        if (count < 2 || count > connection_->info().queue_max) return false;
        queue_ = count;
        return true;
    }
    bool get_input_buffers(unsigned& count) override {
        count = queue_;
        return true;
    }
    int write_report(const uint8_t* report, size_t size) override { return connection_->send(report, size); }
    int read_report(uint8_t* buffer, size_t size, int timeout_ms) override {
        return connection_->receive(buffer, size, timeout_ms);
    }
    bool get_manufacturer(std::wstring& text) override { return widen(connection_->info().manufacturer, text); }
    bool get_product(std::wstring& text) override { return widen(connection_->info().product, text); }

private:
    static bool widen(const std::string& narrow, std::wstring& text) {
        text.assign(narrow.begin(), narrow.end());
        return true;
    }

    std::shared_ptr<sim_connection> connection_;
    unsigned queue_ = connection_->info().queue_max;
};

class socket_device_list final : public hid_device_list {
public:
    socket_device_list(std::string path, std::shared_ptr<sim_connection> connection)
        : path_(std::move(path)), connection_(std::move(connection)) {}
    size_t size() const override { return connection_ ? 1 : 0; }
    std::string path(size_t index) const override { return index < size() ? path_ : ""; }
    std::unique_ptr<hid_handle> open(size_t index, hid_access) override {
        if (index >= size()) return nullptr;
        return std::make_unique<socket_handle>(connection_);
    }

private:
    std::string path_;
    std::shared_ptr<sim_connection> connection_;
};

// Connects and takes the greeting; null when no simulator answers.
std::shared_ptr<sim_connection> connect_simulator(const std::string& path) {
    sockaddr_un address;
    if (!sim_socket_address(path, address)) return nullptr;
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    const timeval send_limit{kSendLimitSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send_limit, sizeof send_limit);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return nullptr;
    }
    char greeting[1024];
    ssize_t got = -1;
    if (wait_readable(fd, kGreetingWaitMs)) got = ::recv(fd, greeting, sizeof greeting, MSG_DONTWAIT);
    sim_socket_info info;
    if (got <= 0 || !parse_sim_socket_info(std::string(greeting, static_cast<size_t>(got)), info)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_shared<sim_connection>(fd, std::move(info));
}

class socket_backend final : public hid_backend {
public:
    explicit socket_backend(std::string path) : path_(std::move(path)) {}
    std::unique_ptr<hid_device_list> list_devices() override {
        return std::make_unique<socket_device_list>(path_, connect_simulator(path_));
    }

private:
    std::string path_;
};

}  // namespace

std::unique_ptr<hid_backend> make_socket_backend(const std::string& socket_path) {
    return std::make_unique<socket_backend>(socket_path);
}
