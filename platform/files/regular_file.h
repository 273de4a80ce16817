// Opening and reading the files a program takes as input: only a regular file
// counts. A folder opens for reading on this system but yields no bytes, a
// pipe can neither be rewound nor be relied on to end, and opening a pipe
// without a writer waits for one: opening never waits, so that a pipe, a
// device or a folder named in place of a file is refused at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

// Which file an open descriptor or a path names, whatever path led to it.
struct file_identity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const file_identity&) const = default;
};

// An open descriptor that closes itself.
class owned_descriptor {
public:
    owned_descriptor() = default;
    explicit owned_descriptor(int fd) : fd_(fd) {}
    owned_descriptor(owned_descriptor&& other) noexcept : fd_(other.release()) {}
    owned_descriptor& operator=(owned_descriptor&& other) noexcept;
    owned_descriptor(const owned_descriptor&) = delete;
    owned_descriptor& operator=(const owned_descriptor&) = delete;
    ~owned_descriptor();

    int get() const { return fd_; }
    // The descriptor, no longer closed by this object.
    int release();
    file_identity identity() const;
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// An open stdio file that closes itself.
struct file_closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using owned_file = std::unique_ptr<FILE, file_closer>;

// The file at `path` opened for reading when it is a regular file; else an
// empty descriptor, and `error` says why ("PATH: reason").
owned_descriptor open_regular_input(const std::string& path, std::string& error);

// The same as a stdio file for reading; nullptr when it is no regular file or
// cannot be opened.
FILE* open_regular_file(const std::string& path);

// The whole content of a regular file; nothing when it cannot be read.
std::optional<std::string> read_regular_file(const std::string& path);
// The same, and which file it is; when it cannot be read, `error` says why.
std::optional<std::string> read_regular_file(const std::string& path, file_identity& identity, std::string& error);
