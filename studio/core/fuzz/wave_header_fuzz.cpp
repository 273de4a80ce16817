// Fuzz target: the WAV header readers of the file list on one file, and the
// size estimates for its data size. Input: the file.
#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "wave_header.h"

namespace {

struct checked_field {
    size_t offset;
    const char* bytes;
    size_t length;
};

// 8-bit mono PCM: "RIFF", "WAVE", "fmt ", format 1, one channel, 8 bits.
constexpr checked_field kFields[] = {
    {0, "RIFF", 4}, {8, "WAVE", 4}, {12, "fmt ", 4}, {20, "\1\0", 2}, {22, "\1\0", 2}, {34, "\10\0", 2},
};
constexpr int kCheckedBytes = 18;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string number(unsigned __int128 value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

// Every estimate holds what the encoder writes for n samples (ADPCM half a
// byte each, companding five bits each, PCM a byte each, all rounded up) and
// lies within a few bytes of it, so that it cannot have wrapped.
void check_estimates(uint64_t n) {
    using wide = unsigned __int128;
    const wide adpcm = (wide(n) + 1) / 2, companded = (wide(n) * 5 + 7) / 8;
    const wide estimate_adpcm = compressed_size(n, 0), estimate_companded = compressed_size(n, 1);
    KOVA_PROMISE(estimate_adpcm >= adpcm && estimate_adpcm <= adpcm + 4,
                 "ADPCM estimate " + number(estimate_adpcm) + " for " + number(n) + " samples");
    KOVA_PROMISE(estimate_companded >= companded && estimate_companded <= companded + 14,
                 "u-Law estimate " + number(estimate_companded) + " for " + number(n) + " samples");
    for (const int index : {-1, 2, 7})
        KOVA_PROMISE(compressed_size(n, index) == n, "plain size for index " + std::to_string(index));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (kova_fuzz::scratch_folder("wave_header") / "sound.wav").string();
    kova_fuzz::write_file(path, data, size);

    int differing = 0;
    for (const checked_field& field : kFields)
        for (size_t i = 0; i < field.length; ++i)
            if (field.offset + i >= size || data[field.offset + i] != static_cast<uint8_t>(field.bytes[i]))
                ++differing;
    const int count = check_wave_format(path);
    KOVA_PROMISE(count >= 0 && count <= kCheckedBytes && count == differing,
                 std::to_string(count) + " differing bytes counted, " + std::to_string(differing) + " differ");

    const int32_t rate = wave_sample_rate(path);
    KOVA_PROMISE(rate == (size >= 28 ? static_cast<int32_t>(le32(data + 24)) : 0), "rate " + std::to_string(rate));
    const uint32_t data_size = wave_data_size(path);
    KOVA_PROMISE(data_size == (size >= 44 ? le32(data + 40) : 0u), "data size " + std::to_string(data_size));

    check_estimates(data_size);
    // Estimates for sizes beyond 32 bits, taken from the file's first bytes.
    uint64_t wide_size = 0;
    std::memcpy(&wide_size, data, std::min<size_t>(size, sizeof wide_size));
    check_estimates(wide_size);
    check_estimates(~wide_size);
    return 0;
}
