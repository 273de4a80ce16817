#include "wav_signals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<float> wav_tone(double hz, double rate, size_t frames, double amplitude) {
    return wav_chirp(hz, hz, rate, frames, amplitude);
}

std::vector<float> wav_chirp(double from_hz, double to_hz, double rate, size_t frames, double amplitude) {
    std::vector<float> out(frames);
    const double seconds = static_cast<double>(frames) / rate;
    const double sweep = seconds > 0 ? (to_hz - from_hz) / seconds : 0.0;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        // The phase is the integral of the frequency, so the sweep has no jumps.
        const double phase = 2 * std::numbers::pi * (from_hz * t + sweep * t * t / 2);
        out[i] = static_cast<float>(amplitude * std::sin(phase));
    }
    return out;
}

std::vector<float> wav_noise(size_t frames, double amplitude, uint32_t seed) {
    std::vector<float> out(frames);
    uint32_t state = seed * 2654435761u + 0x9E3779B9u;
    if (state == 0) state = 1;  // the one state xorshift never leaves
    for (float& sample : out) {
        // xorshift32: cheap, and the same on every machine.
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        sample = static_cast<float>(amplitude * (static_cast<double>(state) / 2147483647.5 - 1.0));
    }
    return out;
}

std::vector<float> wav_chime(double rate, size_t frames, double amplitude) {
    std::vector<float> out(frames);
    const size_t second_strike = frames / 3;
    const double decay = 10.0;  // per second: each note fades to a few per cent within a third of a second
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        double sample = 0.6 * std::exp(-decay * t) * std::sin(2 * std::numbers::pi * 880.0 * t);
        if (i >= second_strike) {
            const double u = static_cast<double>(i - second_strike) / rate;
            sample += 0.6 * std::exp(-decay * u) * std::sin(2 * std::numbers::pi * 1320.0 * u);
        }
        // A short fade-in and fade-out keep the ends free of clicks.
        const double edge = std::min({1.0, static_cast<double>(i) / (rate * 0.004),
                                      static_cast<double>(frames - i) / (rate * 0.01)});
        out[i] = static_cast<float>(amplitude * std::clamp(sample, -1.0, 1.0) * edge);
    }
    return out;
}
