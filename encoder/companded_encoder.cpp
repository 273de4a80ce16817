// Companding: each sample becomes the nearest of 16 magnitudes on either side
// of the midpoint, 5 bits, packed eight samples into five bytes.
#include <array>

#include "sample_codecs.h"
#include "voice_format.h"

namespace {

constexpr int distance(int a, int b) { return a < b ? b - a : a - b; }

// Code of every 8-bit sample; a distance tie goes to the smaller magnitude.
constexpr std::array<uint8_t, 256> companding_codes() {
    std::array<uint8_t, 256> codes{};
    for (int sample = 0; sample < 256; ++sample) {
        const int value = sample - 128;
        const int magnitude = value < 0 ? -value : value;
        int best = 0;
        for (int k = 1; k < 16; ++k)
            if (distance(magnitude, kCompandLevels[k]) < distance(magnitude, kCompandLevels[best])) best = k;
        codes[sample] = static_cast<uint8_t>(best | (value < 0 ? 16 : 0));
    }
    return codes;
}
constexpr std::array<uint8_t, 256> kCodes = companding_codes();

}  // namespace

void encode_companded(std::span<const uint8_t> samples, uint8_t* out) {
    const size_t whole = samples.size() / 8;
    for (size_t g = 0; g < whole; ++g) {
        uint64_t bits = 0;
        for (int j = 0; j < 8; ++j) bits |= static_cast<uint64_t>(kCodes[samples[8 * g + j]]) << (5 * j);
        for (int b = 0; b < 5; ++b) out[5 * g + b] = static_cast<uint8_t>(bits >> (8 * b));
    }
    const size_t left = samples.size() % 8;
    if (left == 0) return;
    uint64_t bits = 0;
    for (size_t j = 0; j < left; ++j) bits |= static_cast<uint64_t>(kCodes[samples[8 * whole + j]]) << (5 * j);
    for (size_t b = 0; b < (left * 5 + 7) / 8; ++b) out[5 * whole + b] = static_cast<uint8_t>(bits >> (8 * b));
}
