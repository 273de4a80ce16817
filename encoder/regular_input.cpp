#include "regular_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

input_descriptor& input_descriptor::operator=(input_descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

input_descriptor::~input_descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

file_identity input_descriptor::identity() const {
    struct stat info;
    if (::fstat(fd_, &info) != 0) return {};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

std::optional<file_identity> identity_of_path(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return file_identity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

input_descriptor open_regular_input(const std::string& path, std::string& error) {
    // O_NONBLOCK: opening a pipe without a writer returns at once.
    input_descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        error = path + ": " + std::strerror(errno);
        return {};
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        return {};
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = path + ": " + std::strerror(errno);
        return {};
    }
    return fd;
}

std::optional<std::string> read_regular_file(const std::string& path, file_identity& identity, std::string& error) {
    const input_descriptor fd = open_regular_input(path, error);
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
