// Small WAV files and test signals for the tests: a canonical 44-byte header,
// optionally another chunk before the data and any data-size field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct wave_spec {
    uint32_t rate = 8000;
    uint16_t format = 1;
    uint16_t channels = 1;
    uint16_t bits = 8;
    std::vector<uint8_t> extra_chunk;        // a whole chunk placed between "fmt " and "data"
    std::optional<uint32_t> data_size_field; // instead of the data chunk's true size
    std::vector<uint8_t> data;               // the data chunk's bytes
};

std::vector<uint8_t> wave_bytes(const wave_spec& spec);

// A chunk: its four-letter id, its size (the content's, or the one given) and its content.
std::vector<uint8_t> wave_chunk(const char* id, const std::vector<uint8_t>& content,
                                std::optional<uint32_t> stated_size = std::nullopt);

// "RIFF", its size and "WAVE", then the chunks in the order given.
std::vector<uint8_t> riff_wave(const std::vector<std::vector<uint8_t>>& chunks);

// The "fmt " chunk of wave_bytes: 8-bit mono PCM at `rate`.
std::vector<uint8_t> fmt_chunk(uint32_t rate = 8000);

// A "LIST" chunk of type "INFO" carrying one comment, padded to an even size.
std::vector<uint8_t> list_chunk(const std::string& comment);

// 8-bit unsigned samples: a sine, a rising chirp and uniform noise, each
// around the midpoint 128 with the given amplitude.
std::vector<uint8_t> sine_samples(size_t count, double hz, double rate, double amplitude);
std::vector<uint8_t> chirp_samples(size_t count, double from_hz, double to_hz, double rate, double amplitude);
std::vector<uint8_t> noise_samples(size_t count, uint32_t seed, double amplitude);

// Signal-to-noise ratio of `decoded` against `original`, in dB, both taken
// around 128; very large when they are equal.
double snr_db(const std::vector<uint8_t>& original, const std::vector<uint8_t>& decoded);
