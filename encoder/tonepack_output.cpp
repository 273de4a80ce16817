#include "tonepack_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "output_file.h"
#include "run_failure.h"
#include "voice_format.h"

namespace {

[[noreturn]] void output_failure(const std::string& what) { throw run_failure{kTonepackOutputFailed, what}; }

}  // namespace

void check_output_path(const std::string& path, const std::vector<file_identity>& inputs) {
    struct stat info;
    if (path.empty() || path.back() == '/') output_failure(path + ": not a file name");
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return;
        output_failure(path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) output_failure(path + ": not a regular file");
    const file_identity output{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    if (std::find(inputs.begin(), inputs.end(), output) != inputs.end())
        output_failure(path + ": is a file this run reads");
}

void write_output(const std::string& path, const std::vector<uint8_t>& bytes) {
    const whole_file_write written = write_whole_file(path, bytes, whole_file::by_rename);
    if (!written) output_failure(written.failure);
}

void remove_stale_output(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    std::string error;
    const owned_descriptor fd = open_regular_input(path, error);
    uint8_t magic[kVoiceMagic.size()];
    if (fd && ::pread(fd.get(), magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
        std::equal(kVoiceMagic.begin(), kVoiceMagic.end(), magic))
        ::unlink(path.c_str());
}
