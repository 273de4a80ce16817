// Writes RIFF WAVE files: well-formed ones, and on request files that differ
// from the plain 8-bit mono PCM layout in exactly one chosen respect (sample
// width, channels, format tag, an extra chunk, the data size field), so that
// readers can be tested against each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct wav_format {
    uint16_t format_tag = 1;          // 1: integer PCM; 3: IEEE float (32-bit samples are then floats)
    uint16_t channels = 1;            // every channel carries the same signal
    uint32_t sample_rate = 8000;      // Hz
    uint16_t bits_per_sample = 8;     // 8 (unsigned), 16, 24 or 32
    bool list_chunk = false;          // a LIST chunk between "fmt " and "data"
    std::optional<uint32_t> data_size_field;  // stored as the data chunk's size instead of the real one
};

// The whole file around sample bytes already encoded: "RIFF" header, a
// 16-byte "fmt " chunk, the optional LIST chunk and the "data" chunk, padded
// to an even length. Without the LIST chunk the data size stands at byte 40
// and the samples start at byte 44.
std::vector<uint8_t> wav_file_bytes(const wav_format& format, const std::vector<uint8_t>& sample_bytes);

// Sample bytes for one value per frame, each in -1 to 1 (values outside are
// clipped), repeated on every channel: 8-bit unsigned around 128, 16/24/32-bit
// signed little-endian, or 32-bit float when the format tag is 3.
// Throws std::invalid_argument for a sample width it cannot encode.
std::vector<uint8_t> wav_encode_samples(const wav_format& format, const std::vector<float>& frames);

// Encodes the frames and writes the file. False with a message in `error`
// when the format cannot be encoded or the file cannot be written.
bool write_wav_file(const std::string& path, const wav_format& format, const std::vector<float>& frames,
                    std::string& error);
