// Sounds made by computation, for the sample installation and the tests:
// one value per frame, each in -1 to 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A sine wave of `hz` at the given sample rate.
std::vector<float> wav_tone(double hz, double rate, size_t frames, double amplitude);

// A sine wave whose frequency rises (or falls) linearly from `from_hz` to
// `to_hz` over the whole length.
std::vector<float> wav_chirp(double from_hz, double to_hz, double rate, size_t frames, double amplitude);

// Uniform white noise, the same for the same seed.
std::vector<float> wav_noise(size_t frames, double amplitude, uint32_t seed);

// A two-note chime: a tone and its fifth above, each struck in turn and dying
// away, over the whole length.
std::vector<float> wav_chime(double rate, size_t frames, double amplitude);
