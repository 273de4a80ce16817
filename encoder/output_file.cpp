#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "run_failure.h"
#include "voice_format.h"

namespace {

[[noreturn]] void output_failure(const std::string& what) { throw run_failure{kTonepackOutputFailed, what}; }

std::string system_error(const std::string& path) { return path + ": " + std::strerror(errno); }

// A file name of its own beside the output, in the same folder, so that the
// rename stays within one file system.
std::string temporary_pattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

bool write_all(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

}  // namespace

void check_output_path(const std::string& path, const std::vector<file_identity>& inputs) {
    struct stat info;
    if (path.empty() || path.back() == '/') output_failure(path + ": not a file name");
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return;
        output_failure(system_error(path));
    }
    if (!S_ISREG(info.st_mode)) output_failure(path + ": not a regular file");
    const file_identity output{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    if (std::find(inputs.begin(), inputs.end(), output) != inputs.end())
        output_failure(path + ": is a file this run reads");
}

void write_output(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporary = temporary_pattern(path);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) output_failure(system_error(temporary));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool written = ::fchmod(fd, 0666 & ~mask) == 0 && write_all(fd, bytes.data(), bytes.size());
    std::string error = written ? "" : system_error(temporary);
    if (::close(fd) != 0 && written) {
        written = false;
        error = system_error(temporary);
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = system_error(path);
    }
    if (!written) {
        ::unlink(temporary.c_str());
        output_failure(error);
    }
}

void remove_stale_output(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    std::string error;
    const input_descriptor fd = open_regular_input(path, error);
    uint8_t magic[kVoiceMagic.size()];
    if (fd && ::pread(fd.get(), magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
        std::equal(kVoiceMagic.begin(), kVoiceMagic.end(), magic))
        ::unlink(path.c_str());
}
