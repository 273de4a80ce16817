// An 8-bit mono PCM WAV file read by its chunks through libsndfile. KovaStudio
// lists a sound's size from this reading and tonepack encodes the sound from
// it, so that the file list's sizes and the encoded samples agree to the byte,
// whatever chunks a recording program puts before the data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

class mono_wave {
public:
    mono_wave() = default;
    mono_wave(const mono_wave&) = delete;
    mono_wave& operator=(const mono_wave&) = delete;
    ~mono_wave();

    // Reads the header of the regular file open at `fd`, which must stand at
    // its start; the descriptor stays the caller's and must outlive this
    // object. False, with `error` saying why, unless the file is a RIFF WAVE
    // file whose "fmt " chunk states PCM (format 1), one channel, 8 bits and a
    // sample rate, and which has a "data" chunk.
    bool open(int fd, std::string& error);

    uint32_t rate() const { return rate_; }
    // The samples of the "data" chunk, one byte each: the chunk's size, but
    // never more than the bytes the file holds after the chunk's header.
    uint64_t samples() const { return samples_; }

    // Every sample of the data chunk (fewer when the file has shrunk since it
    // was opened), as stored: unsigned, 128 the midpoint.
    bool read(std::vector<uint8_t>& samples, std::string& error);

private:
    sf_private_tag* sound_ = nullptr;
    uint32_t rate_ = 0;
    uint64_t samples_ = 0;
};
