#include "wav_writer.h"

#include <bit>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "generated_file.h"

namespace {

void put_text(std::vector<uint8_t>& out, const char* text) {
    for (; *text; ++text) out.push_back(static_cast<uint8_t>(*text));
}

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_signed(std::vector<uint8_t>& out, double sample, int bytes) {
    const double full = std::ldexp(1.0, 8 * bytes - 1) - 1;
    const auto value = static_cast<uint32_t>(static_cast<int32_t>(std::lround(sample * full)));
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Software name carried by the optional LIST chunk: an even length with its
// terminating zero, so that the chunk needs no pad byte.
constexpr char kSoftware[] = "kova sounds";
static_assert(sizeof kSoftware % 2 == 0);

}  // namespace

std::vector<uint8_t> wav_file_bytes(const wav_format& format, const std::vector<uint8_t>& sample_bytes) {
    const uint16_t block_align = static_cast<uint16_t>(format.channels * ((format.bits_per_sample + 7) / 8));
    std::vector<uint8_t> out;
    out.reserve(sample_bytes.size() + 80);
    put_text(out, "RIFF");
    put32(out, 0);  // filled in at the end
    put_text(out, "WAVE");

    put_text(out, "fmt ");
    put32(out, 16);
    put16(out, format.format_tag);
    put16(out, format.channels);
    put32(out, format.sample_rate);
    put32(out, format.sample_rate * block_align);
    put16(out, block_align);
    put16(out, format.bits_per_sample);

    if (format.list_chunk) {
        put_text(out, "LIST");
        put32(out, 4 + 8 + sizeof kSoftware);
        put_text(out, "INFO");
        put_text(out, "ISFT");
        put32(out, sizeof kSoftware);
        out.insert(out.end(), kSoftware, kSoftware + sizeof kSoftware);
    }

    put_text(out, "data");
    put32(out, format.data_size_field.value_or(static_cast<uint32_t>(sample_bytes.size())));
    out.insert(out.end(), sample_bytes.begin(), sample_bytes.end());
    if (sample_bytes.size() % 2 != 0) out.push_back(0);  // chunks keep an even length

    const auto riff_size = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riff_size >> (8 * i));
    return out;
}

std::vector<uint8_t> wav_encode_samples(const wav_format& format, const std::vector<float>& frames) {
    const int bits = format.bits_per_sample;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw std::invalid_argument("cannot encode " + std::to_string(bits) + "-bit samples");
    const bool as_float = format.format_tag == 3 && bits == 32;
    std::vector<uint8_t> out;
    out.reserve(frames.size() * format.channels * static_cast<size_t>(bits / 8));
    for (float frame : frames) {
        const double sample = std::isnan(frame) ? 0.0 : std::clamp(static_cast<double>(frame), -1.0, 1.0);
        for (int channel = 0; channel < format.channels; ++channel) {
            if (as_float) {
                put32(out, std::bit_cast<uint32_t>(static_cast<float>(sample)));
            } else if (bits == 8) {
                out.push_back(static_cast<uint8_t>(128 + std::lround(sample * 127)));
            } else {
                put_signed(out, sample, bits / 8);
            }
        }
    }
    return out;
}

bool write_wav_file(const std::string& path, const wav_format& format, const std::vector<float>& frames,
                    std::string& error) {
    std::vector<uint8_t> samples;
    try {
        samples = wav_encode_samples(format, frames);
    } catch (const std::invalid_argument& refused) {
        error = refused.what();
        return false;
    }
    return write_output_file(path, wav_file_bytes(format, samples), error);
}
