// How fast tonepack encodes 8-bit samples of each kind: the codecs alone, and
// whole runs that read an 8 MiB WAV file and write the
// voice data. Scratch files go to a folder beside this program.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sample_codecs.h"
#include "test_script.h"
#include "test_wave.h"
#include "tonepack_run.h"
#include "voice_format.h"

namespace {

constexpr size_t kSamples = 8 << 20;

const std::vector<uint8_t>& sound() {
    static const std::vector<uint8_t> samples = chirp_samples(kSamples, 100, 3800, 8000, 110);
    return samples;
}

void codec(benchmark::State& bench, sound_kind kind) {
    std::vector<uint8_t> out(encoded_size(kind, kSamples));
    for (auto _ : bench) {
        if (kind == sound_kind::adpcm) encode_adpcm(sound(), out.data());
        else encode_companded(sound(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
    bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * kSamples));
}

std::filesystem::path scratch() {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bench-tmp";
    std::filesystem::create_directories(folder);
    return folder;
}

void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// One whole run of tonepack on a project of one sound of the given kind.
void whole_run(benchmark::State& bench, sound_kind kind) {
    const auto folder = scratch();
    wave_spec spec;
    spec.data = sound();
    const std::vector<uint8_t> wave = wave_bytes(spec);
    write_bytes(folder / "sound.wav", std::string(wave.begin(), wave.end()));
    test_project project;
    project.sounds = {{kind, (folder / "sound.wav").string(), "8000"}};
    project.encoder_line = kind == sound_kind::companded;
    project.groups.resize(1);
    project.groups[0].entries = {{0, true}};
    write_bytes(folder / "Script.txt", script_text(project));
    const std::vector<std::string> args = {(folder / "Script.txt").string(), (folder / "Script.mf0").string()};
    for (auto _ : bench) {
        std::ostringstream errors;
        if (tonepack_run(args, errors) != 0) {
            bench.SkipWithError(errors.str().c_str());
            break;
        }
    }
    bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * kSamples));
}

BENCHMARK_CAPTURE(codec, adpcm, sound_kind::adpcm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(codec, companded, sound_kind::companded)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(whole_run, pcm, sound_kind::pcm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(whole_run, adpcm, sound_kind::adpcm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(whole_run, companded, sound_kind::companded)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
