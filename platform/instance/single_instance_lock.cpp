#include "single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// A file name holds no '/'; '%' is escaped too, so that two texts never share a file.
std::string file_name_of(const std::string& text) {
    std::string name;
    for (const char c : text) {
        if (c == '/' || c == '%' || c == '\0') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            name += escaped;
        } else {
            name += c;
        }
    }
    return name;
}

// O_NOFOLLOW: a link planted at the path is refused, never followed to a
// file of someone else's choosing. O_NONBLOCK: a planted FIFO cannot make the
// open wait.
int open_lock_file(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Only a regular file of our own counts: in /tmp another user could leave a
// file at the path and hold its lock to keep the program from starting.
bool is_own_lock_file(int fd) {
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) return false;
    // The creating open applies the umask; the file is the owner's alone.
    if ((status.st_mode & 07777) != 0600) ::fchmod(fd, 0600);
    return true;
}

}  // namespace

std::string single_instance_lock_path(const std::string& lock_text) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string folder = runtime;
        if (folder.back() != '/') folder += '/';
        return folder + file_name_of(lock_text) + ".lock";
    }
    return "/tmp/" + file_name_of(lock_text) + "." + std::to_string(::geteuid()) + ".lock";
}

single_instance_lock::single_instance_lock(const std::string& lock_text) {
    const int fd = open_lock_file(single_instance_lock_path(lock_text));
    if (fd < 0) return;
    if (!is_own_lock_file(fd)) {
        ::close(fd);
        return;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        fd_ = fd;
        result_ = instance_lock_result::acquired;
        return;
    }
    if (errno == EWOULDBLOCK) result_ = instance_lock_result::already_running;
    ::close(fd);
}

single_instance_lock::~single_instance_lock() {
    if (fd_ >= 0) ::close(fd_);
}
