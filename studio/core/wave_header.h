// What the file list reads of a sound file: the sample rate and the size of
// the sample data of an 8-bit mono PCM WAV file, read by its chunks (the same
// reading tonepack encodes the sound from), and the size that data takes once
// compressed. Only a regular file is read, so that a pipe named as a sound
// cannot stop the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct wave_header {
    uint32_t sample_rate = 0;
    // The bytes of the "data" chunk, one sample each: its stated size, but
    // never more than the file holds after the chunk's header.
    uint64_t data_size = 0;
};

// Nothing when the file cannot be read or is no 8-bit mono PCM WAV file: not
// RIFF WAVE, no "fmt " chunk stating format 1, one channel, 8 bits and a
// sample rate, or no "data" chunk.
std::optional<wave_header> read_wave_header(const std::string& path);

// The data size of read_wave_header; 0 for a file that is gone or is no longer
// such a file.
uint64_t wave_data_size(const std::string& path);

// The size of data_size bytes of 8-bit samples in the compression of the
// given index: 0 (4-bit ADPCM) n/8*4+4; 1 (5-bit u-Law) c = n/8*5+5, plus 9
// when c is not a multiple of 9; any other index the plain size.
uint64_t compressed_size(uint64_t data_size, int compression_index);
