// An 8-bit mono PCM WAV file read by its chunks. KovaStudio lists a sound's
// size from this reading and tonepack encodes the sound from it, so that the
// file list's sizes and the encoded samples agree to the byte, whatever chunks
// a recording program puts before the data.
//
// The walk needs only the "fmt " and "data" chunks and steps over every other
// chunk by its stated size, with 64-bit offsets, never past the end of the
// file: each step moves on by at least a chunk header, so any file, however
// its sizes are forged, is read in time linear in its size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class mono_wave {
public:
    // Reads the header of the regular file open at `fd`; the descriptor stays
    // the caller's and must outlive this object. False, with `error` saying
    // why, unless the file is a RIFF WAVE file with one "fmt " chunk stating
    // PCM (format 1), one channel, 8 bits and a sample rate from 1 to
    // 2^31 - 1, followed by exactly one "data" chunk. The walk ends at the end
    // of the file or, after the data, at a chunk id that is no printable text
    // (a tail the chunks do not count); such bytes before the data mean that
    // the walk fell out of step with the chunks, and the file is refused.
    bool open(int fd, std::string& error);

    uint32_t rate() const { return rate_; }
    // The samples of the "data" chunk, one byte each: the chunk's size, but
    // never more than the bytes the file holds after the chunk's header.
    uint64_t samples() const { return samples_; }

    // Every sample of the data chunk (fewer when the file has shrunk since it
    // was opened), as stored: unsigned, 128 the midpoint.
    bool read(std::vector<uint8_t>& samples, std::string& error);

private:
    int fd_ = -1;
    uint32_t rate_ = 0;
    uint64_t data_offset_ = 0;
    uint64_t samples_ = 0;
};
