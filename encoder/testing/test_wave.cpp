#include "test_wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void put_text(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

uint8_t sample(double value) { return static_cast<uint8_t>(std::clamp(std::lround(128 + value), 0L, 255L)); }

}  // namespace

std::vector<uint8_t> wave_bytes(const wave_spec& spec) {
    std::vector<uint8_t> out;
    put_text(out, "RIFF");
    put32(out, static_cast<uint32_t>(36 + spec.extra_chunk.size() + spec.data.size()));
    put_text(out, "WAVEfmt ");
    put32(out, 16);
    put16(out, spec.format);
    put16(out, spec.channels);
    put32(out, spec.rate);
    const uint32_t block = spec.channels * spec.bits / 8u;
    put32(out, spec.rate * block);
    put16(out, block);
    put16(out, spec.bits);
    out.insert(out.end(), spec.extra_chunk.begin(), spec.extra_chunk.end());
    put_text(out, "data");
    put32(out, spec.data_size_field.value_or(static_cast<uint32_t>(spec.data.size())));
    out.insert(out.end(), spec.data.begin(), spec.data.end());
    return out;
}

std::vector<uint8_t> wave_chunk(const char* id, const std::vector<uint8_t>& content,
                                std::optional<uint32_t> stated_size) {
    std::vector<uint8_t> out(id, id + 4);
    put32(out, stated_size.value_or(static_cast<uint32_t>(content.size())));
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

std::vector<uint8_t> riff_wave(const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> body;
    put_text(body, "WAVE");
    for (const std::vector<uint8_t>& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
    std::vector<uint8_t> out;
    put_text(out, "RIFF");
    put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> fmt_chunk(uint32_t rate) {
    wave_spec spec;
    spec.rate = rate;
    const std::vector<uint8_t> all = wave_bytes(spec);
    return std::vector<uint8_t>(all.begin() + 12, all.begin() + 36);
}

std::vector<uint8_t> list_chunk(const std::string& comment) {
    std::string text = comment + '\0';
    if (text.size() % 2 != 0) text += '\0';
    std::vector<uint8_t> out;
    put_text(out, "LIST");
    put32(out, static_cast<uint32_t>(4 + 8 + text.size()));
    put_text(out, "INFOICMT");
    put32(out, static_cast<uint32_t>(text.size()));
    put_text(out, text);
    return out;
}

std::vector<uint8_t> sine_samples(size_t count, double hz, double rate, double amplitude) {
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i) out[i] = sample(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
    return out;
}

std::vector<uint8_t> chirp_samples(size_t count, double from_hz, double to_hz, double rate, double amplitude) {
    std::vector<uint8_t> out(count);
    const double seconds = count / rate;
    for (size_t i = 0; i < count; ++i) {
        const double t = i / rate;
        const double phase = 2 * std::numbers::pi * (from_hz * t + (to_hz - from_hz) * t * t / (2 * seconds));
        out[i] = sample(amplitude * std::sin(phase));
    }
    return out;
}

std::vector<uint8_t> noise_samples(size_t count, uint32_t seed, double amplitude) {
    std::vector<uint8_t> out(count);
    uint32_t state = seed;
    for (size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        out[i] = sample(amplitude * ((state >> 8) / double(1 << 24) * 2 - 1));
    }
    return out;
}

double snr_db(const std::vector<uint8_t>& original, const std::vector<uint8_t>& decoded) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < std::min(original.size(), decoded.size()); ++i) {
        const double x = original[i] - 128.0;
        const double e = x - (decoded[i] - 128.0);
        signal += x * x;
        noise += e * e;
    }
    return noise == 0 ? 1000 : 10 * std::log10(signal / noise);
}
