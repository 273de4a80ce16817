#include "wave_file.h"

#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr off_t kSizeFieldAt = 40;

}  // namespace

wave_file::~wave_file() {
    if (sound_) sf_close(sound_);
}

bool wave_file::open(const std::string& path, std::string& error) {
    path_ = path;
    input_ = open_regular_input(path, error);
    if (!input_) return false;

    uint8_t field[4];
    const ssize_t got = ::pread(input_.get(), field, sizeof field, kSizeFieldAt);
    if (got < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (got == sizeof field)
        size_field_ = field[0] | field[1] << 8 | field[2] << 16 | static_cast<uint32_t>(field[3]) << 24;

    SF_INFO info{};
    sound_ = sf_open_fd(input_.get(), SFM_READ, &info, SF_FALSE);
    if (!sound_) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV || (info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_PCM_U8 ||
        info.channels != 1) {
        error = path + ": not a mono 8-bit PCM WAV file";
        return false;
    }
    if (info.samplerate <= 0 || info.frames < 0) {
        error = path + ": no sample rate or length in its header";
        return false;
    }
    rate_ = static_cast<uint32_t>(info.samplerate);
    frames_ = static_cast<uint64_t>(info.frames);
    return true;
}

bool wave_file::read(uint64_t count, std::vector<uint8_t>& samples, std::string& error) {
    samples.resize(count);
    uint64_t done = 0;
    while (done < count) {
        const sf_count_t got = sf_read_raw(sound_, samples.data() + done, static_cast<sf_count_t>(count - done));
        if (got < 0 || sf_error(sound_) != SF_ERR_NO_ERROR) {
            error = path_ + ": " + sf_strerror(sound_);
            return false;
        }
        if (got == 0) break;
        done += static_cast<uint64_t>(got);
    }
    samples.resize(done);
    return true;
}
