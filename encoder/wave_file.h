// One sound file of the project, read through libsndfile: a mono 8-bit PCM
// WAV file, plus the data-size field at its fixed header offset, which the
// project's size estimate is made from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "regular_input.h"

struct sf_private_tag;

class wave_file {
public:
    wave_file() = default;
    wave_file(const wave_file&) = delete;
    wave_file& operator=(const wave_file&) = delete;
    ~wave_file();

    // Opens and inspects the file; false, with `error` saying why, when it is
    // no regular file or not a mono 8-bit PCM WAV file.
    bool open(const std::string& path, std::string& error);

    uint32_t rate() const { return rate_; }
    // The 4 bytes at file offset 40, unsigned; 0 for a file shorter than 44 bytes.
    uint32_t size_field() const { return size_field_; }
    // Samples in the data chunk, as the library counts them.
    uint64_t frames() const { return frames_; }
    file_identity identity() const { return input_.identity(); }

    // The first `count` samples (fewer when the file ends early), as stored:
    // unsigned, 128 the midpoint.
    bool read(uint64_t count, std::vector<uint8_t>& samples, std::string& error);

private:
    input_descriptor input_;
    sf_private_tag* sound_ = nullptr;
    std::string path_;
    uint32_t rate_ = 0;
    uint32_t size_field_ = 0;
    uint64_t frames_ = 0;
};
