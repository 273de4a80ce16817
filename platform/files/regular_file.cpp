#include "regular_file.h"

#include "open_without_waiting.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

owned_descriptor& owned_descriptor::operator=(owned_descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

owned_descriptor::~owned_descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int owned_descriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

file_identity owned_descriptor::identity() const {
    struct stat info;
    if (::fstat(fd_, &info) != 0) return {};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

owned_descriptor open_without_waiting(const std::string& path, int flags, mode_t permissions,
                                      bool (*accepted)(mode_t kind), const char* refusal, std::string& error) {
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && !accepted(info.st_mode)) {
        error = path + ": " + refusal;
        return {};
    }
    owned_descriptor fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, permissions));
    if (!fd) {
        error = path + ": " + std::strerror(errno);
        return {};
    }
    if (::fstat(fd.get(), &info) != 0 || !accepted(info.st_mode)) {
        error = path + ": " + refusal;
        return {};
    }
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        error = path + ": " + std::strerror(errno);
        return {};
    }
    return fd;
}

owned_descriptor open_regular_input(const std::string& path, std::string& error) {
    return open_without_waiting(
        path, O_RDONLY | O_NOCTTY, 0, [](mode_t kind) { return S_ISREG(kind); }, "not a regular file", error);
}

FILE* open_regular_file(const std::string& path) {
    std::string error;
    owned_descriptor fd = open_regular_input(path, error);
    FILE* const file = fd ? ::fdopen(fd.get(), "rb") : nullptr;
    if (file) fd.release();
    return file;
}

std::optional<std::string> read_regular_file(const std::string& path) {
    file_identity identity;
    std::string error;
    return read_regular_file(path, identity, error);
}

std::optional<std::string> read_regular_file(const std::string& path, file_identity& identity, std::string& error) {
    const owned_descriptor fd = open_regular_input(path, error);
    if (!fd) return std::nullopt;
    identity = fd.identity();
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0) return content;
        if (got < 0) {
            if (errno == EINTR) continue;
            error = path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(got));
    }
}
