// Opening the files tonepack reads: only a regular file counts. Opening never
// waits, so that a pipe or a device named in place of a file is refused at
// once instead of blocking the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Which file an open descriptor or a path names, whatever path led to it.
struct file_identity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const file_identity&) const = default;
};

// An open descriptor that closes itself.
class input_descriptor {
public:
    input_descriptor() = default;
    explicit input_descriptor(int fd) : fd_(fd) {}
    input_descriptor(input_descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    input_descriptor& operator=(input_descriptor&& other) noexcept;
    input_descriptor(const input_descriptor&) = delete;
    input_descriptor& operator=(const input_descriptor&) = delete;
    ~input_descriptor();

    int get() const { return fd_; }
    file_identity identity() const;
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The file at `path` opened for reading when it is a regular file; else an
// empty descriptor and `error` says why.
input_descriptor open_regular_input(const std::string& path, std::string& error);

// The whole content of a regular file and which file it is; nothing when it
// cannot be read, with `error` saying why.
std::optional<std::string> read_regular_file(const std::string& path, file_identity& identity, std::string& error);

// The file a path names now (links followed); nothing when there is none.
std::optional<file_identity> identity_of_path(const std::string& path);
