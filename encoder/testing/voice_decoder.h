// Reads voice data written by tonepack back into its groups, entries and
// 8-bit samples, checking every field against the layout in FORMAT.md. Tests
// use it on tonepack's output file and on the voice data taken out of a DAT
// image at ROM address Offset.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "voice_format.h"

struct decoded_entry {
    sound_kind kind = sound_kind::silence;
    bool busy = false;
    uint32_t address = 0;          // ROM address of the sound's data; 0 for a silence
    uint32_t divider = 0;          // of the clock
    double rate = 0;               // clock / divider, in Hz
    std::vector<uint8_t> samples;  // decoded, unsigned 8-bit, 128 the midpoint; a silence is all 128
};

struct decoded_group {
    bool edge = false;
    bool hold = false;
    bool retrigger = false;
    std::vector<decoded_entry> entries;
};

struct decoded_voice_data {
    uint32_t offset = 0;   // ROM address of the header
    uint32_t length = 0;   // bytes, header included
    uint32_t clock = 0;
    uint32_t last_group = 0;
    bool ramp = false;
    bool companding = false;
    uint8_t compand_bits = 0;
    uint8_t compand_curve = 0;
    std::vector<decoded_group> groups;
};

class voice_data_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `bytes` start with the header; bytes past the stated length are ignored.
// Throws voice_data_error naming the first field that breaks the layout.
decoded_voice_data decode_voice_data(std::span<const uint8_t> bytes);

// The codecs alone: `count` samples from the start of `data`.
std::vector<uint8_t> decode_adpcm(std::span<const uint8_t> data, size_t count);
std::vector<uint8_t> decode_companded(std::span<const uint8_t> data, size_t count);
