#include "mono_wave.h"

#include <sndfile.h>

#include <cstring>

namespace {

constexpr char kNotMonoPcm8[] = "not a mono 8-bit PCM WAV file";

uint16_t little_endian_16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

// The library takes any width from 1 to 8 bits for unsigned bytes, and a
// "RIFX" file too: the format, channels and width must be stated as 8-bit mono
// PCM in the "fmt " chunk itself.
bool states_mono_pcm8(SNDFILE* sound) {
    SF_CHUNK_INFO wanted{};
    std::memcpy(wanted.id, "fmt ", 4);
    wanted.id_size = 4;
    const SF_CHUNK_ITERATOR* chunk = sf_get_chunk_iterator(sound, &wanted);
    if (!chunk) return false;
    unsigned char fields[16];
    SF_CHUNK_INFO found{};
    found.datalen = sizeof fields;
    found.data = fields;
    if (sf_get_chunk_data(chunk, &found) != SF_ERR_NO_ERROR || found.datalen != sizeof fields) return false;
    return little_endian_16(fields) == 1 && little_endian_16(fields + 2) == 1 && little_endian_16(fields + 14) == 8;
}

}  // namespace

mono_wave::~mono_wave() {
    if (sound_) sf_close(sound_);
}

bool mono_wave::open(int fd, std::string& error) {
    SF_INFO info{};
    sound_ = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!sound_) {
        error = sf_strerror(nullptr);
        return false;
    }
    if (info.format != (SF_FORMAT_WAV | SF_FORMAT_PCM_U8) || info.channels != 1 || !states_mono_pcm8(sound_)) {
        error = kNotMonoPcm8;
        return false;
    }
    if (info.samplerate <= 0 || info.frames < 0) {
        error = "no sample rate or length in its header";
        return false;
    }
    rate_ = static_cast<uint32_t>(info.samplerate);
    samples_ = static_cast<uint64_t>(info.frames);
    return true;
}

bool mono_wave::read(std::vector<uint8_t>& samples, std::string& error) {
    samples.resize(samples_);
    uint64_t done = 0;
    while (done < samples_) {
        const sf_count_t got = sf_read_raw(sound_, samples.data() + done, static_cast<sf_count_t>(samples_ - done));
        if (got < 0 || sf_error(sound_) != SF_ERR_NO_ERROR) {
            error = sf_strerror(sound_);
            return false;
        }
        if (got == 0) break;
        done += static_cast<uint64_t>(got);
    }
    samples.resize(done);
    return true;
}
