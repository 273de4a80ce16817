// make_wav: writes a WAV file of a computed sound.
//
//   make_wav OUT.wav [--rate HZ] [--bits 8|16|24|32] [--channels N] [--format TAG]
//                    [--list] [--data-size N]
//                    [--tone HZ | --chirp FROM:TO | --noise | --chime | --silence]
//                    [--seconds S | --samples N] [--amplitude A] [--seed N]
//
// Without options: 8-bit mono PCM at 8000 Hz, a 1000 Hz tone of 0.5 s at
// amplitude 0.8. --format writes any format tag; with 3 and 32 bits the
// samples are floats. --list adds a LIST chunk before the data; --data-size
// stores N as the data chunk's size, whatever follows.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "wav_signals.h"
#include "wav_writer.h"

namespace {

void usage(const char* program) {
    std::fprintf(stderr,
                 "Usage: %s out.wav [--rate HZ] [--bits 8|16|24|32] [--channels N] [--format TAG] [--list]\n"
                 "       [--data-size N] [--tone HZ | --chirp FROM:TO | --noise | --chime | --silence]\n"
                 "       [--seconds S | --samples N] [--amplitude A] [--seed N]\n",
                 program);
}

bool to_number(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno == 0 && std::isfinite(value);
}

bool to_whole(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 10);
    return *end == '\0' && errno == 0 && value <= max;
}

struct request {
    wav_format format;
    std::string signal = "tone";
    double from_hz = 1000, to_hz = 1000;
    double seconds = 0.5;
    long long samples = -1;  // overrides seconds when set
    double amplitude = 0.8;
    uint32_t seed = 1;
};

// Reads the options after the file name; false with a message on stderr.
bool parse(int argc, char** argv, request& r) {
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        unsigned long whole = 0;
        double number = 0;
        bool ok = true;
        if (option == "--list") {
            r.format.list_chunk = true;
        } else if (option == "--noise" || option == "--chime" || option == "--silence") {
            r.signal = option.substr(2);
        } else if (!value(text)) {
            std::fprintf(stderr, "%s needs a value\n", option.c_str());
            return false;
        } else if (option == "--rate") {
            ok = to_whole(text, 1000000, whole) && whole > 0;
            r.format.sample_rate = static_cast<uint32_t>(whole);
        } else if (option == "--bits") {
            ok = to_whole(text, 32, whole) && whole % 8 == 0 && whole > 0;
            r.format.bits_per_sample = static_cast<uint16_t>(whole);
        } else if (option == "--channels") {
            ok = to_whole(text, 8, whole) && whole > 0;
            r.format.channels = static_cast<uint16_t>(whole);
        } else if (option == "--format") {
            ok = to_whole(text, 0xFFFF, whole);
            r.format.format_tag = static_cast<uint16_t>(whole);
        } else if (option == "--data-size") {
            ok = to_whole(text, 0xFFFFFFFF, whole);
            r.format.data_size_field = static_cast<uint32_t>(whole);
        } else if (option == "--tone") {
            ok = to_number(text, r.from_hz) && r.from_hz >= 0;
            r.to_hz = r.from_hz;
            r.signal = "tone";
        } else if (option == "--chirp") {
            const size_t colon = text.find(':');
            ok = colon != std::string::npos && to_number(text.substr(0, colon), r.from_hz) &&
                 to_number(text.substr(colon + 1), r.to_hz) && r.from_hz >= 0 && r.to_hz >= 0;
            r.signal = "chirp";
        } else if (option == "--seconds") {
            ok = to_number(text, number) && number >= 0 && number <= 600;
            r.seconds = number;
            r.samples = -1;
        } else if (option == "--samples") {
            ok = to_whole(text, 100000000, whole);
            r.samples = static_cast<long long>(whole);
        } else if (option == "--amplitude") {
            ok = to_number(text, r.amplitude) && r.amplitude >= 0 && r.amplitude <= 1;
        } else if (option == "--seed") {
            ok = to_whole(text, 0xFFFFFFFF, whole);
            r.seed = static_cast<uint32_t>(whole);
        } else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "bad value for %s: %s\n", option.c_str(), text.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    request r;
    if (argc < 2 || argv[1][0] == '-') {
        usage(argv[0]);
        return 1;
    }
    if (!parse(argc, argv, r)) {
        usage(argv[0]);
        return 1;
    }
    const double rate = r.format.sample_rate;
    const size_t frames =
        r.samples >= 0 ? static_cast<size_t>(r.samples) : static_cast<size_t>(std::llround(r.seconds * rate));
    std::vector<float> sound;
    if (r.signal == "tone" || r.signal == "chirp") {
        sound = wav_chirp(r.from_hz, r.to_hz, rate, frames, r.amplitude);
    } else if (r.signal == "noise") {
        sound = wav_noise(frames, r.amplitude, r.seed);
    } else if (r.signal == "chime") {
        sound = wav_chime(rate, frames, r.amplitude);
    } else {
        sound.assign(frames, 0.0f);
    }
    std::string error;
    if (!write_wav_file(argv[1], r.format, sound, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
