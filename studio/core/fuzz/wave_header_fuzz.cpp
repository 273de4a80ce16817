// Fuzz target: the file list's reading of a WAV file by its chunks, the
// samples tonepack reads from the same file, and the size estimates for its
// data size. Input: the file.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "mono_wave.h"
#include "wave_header.h"

namespace {

// "RIFF", "WAVE", "fmt " and "data" headers with nothing between them.
constexpr size_t kSmallestHeader = 44;

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool text_at(const uint8_t* data, size_t size, size_t at, const char* text) {
    return at + 4 <= size && std::memcmp(data + at, text, 4) == 0;
}

// The canonical 44-byte header of an 8-bit mono PCM file with a sample rate,
// whose data chunk runs to the end of the file (or claims more than that).
bool canonical(const uint8_t* data, size_t size) {
    return size >= kSmallestHeader && text_at(data, size, 0, "RIFF") && text_at(data, size, 8, "WAVE") &&
           text_at(data, size, 12, "fmt ") && le32(data + 16) == 16 && le16(data + 20) == 1 &&
           le16(data + 22) == 1 && le16(data + 34) == 8 && le32(data + 24) >= 1 && le32(data + 24) <= INT_MAX &&
           text_at(data, size, 36, "data") && le32(data + 40) >= size - kSmallestHeader;
}

// The samples tonepack encodes from the file, through the same reading.
std::vector<uint8_t> encoded_samples(const std::string& path) {
    std::vector<uint8_t> samples;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return samples;
    {
        mono_wave wave;
        std::string error;
        if (wave.open(fd, error)) KOVA_PROMISE(wave.read(samples, error), error);
    }
    ::close(fd);
    return samples;
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

    const std::optional<wave_header> header = read_wave_header(path);
    const std::vector<uint8_t> samples = encoded_samples(path);
    if (header) {
        KOVA_PROMISE(text_at(data, size, 0, "RIFF") && text_at(data, size, 8, "WAVE"), "accepted without RIFF WAVE");
        KOVA_PROMISE(header->sample_rate >= 1 && header->sample_rate <= INT_MAX,
                     "rate " + std::to_string(header->sample_rate));
        KOVA_PROMISE(header->data_size <= size - kSmallestHeader,
                     "data size " + std::to_string(header->data_size) + " in a file of " + std::to_string(size));
        // What the file list counts is what the encoder encodes.
        KOVA_PROMISE(samples.size() == header->data_size, std::to_string(samples.size()) + " samples read, " +
                                                              std::to_string(header->data_size) + " listed");
        KOVA_PROMISE(wave_data_size(path) == header->data_size, "data size read again");
    } else {
        KOVA_PROMISE(samples.empty() && wave_data_size(path) == 0, "a refused file still has samples");
    }
    if (canonical(data, size)) {
        KOVA_PROMISE(header && header->sample_rate == le32(data + 24) && header->data_size == size - kSmallestHeader,
                     "canonical file read as " + (header ? std::to_string(header->sample_rate) + " Hz, " +
                                                               std::to_string(header->data_size)
                                                         : std::string("refused")));
        KOVA_PROMISE(std::equal(samples.begin(), samples.end(), data + kSmallestHeader), "samples of a canonical file");
    }

    check_estimates(header ? header->data_size : 0);
    // Estimates for sizes beyond 32 bits, taken from the file's first bytes.
    uint64_t wide_size = 0;
    std::memcpy(&wide_size, data, std::min<size_t>(size, sizeof wide_size));
    check_estimates(wide_size);
    check_estimates(~wide_size);
    return 0;
}
