// What the syncs cost a compile's commit: a 1 MiB image and a small report
// put in place of older ones, their temporaries synced before and the folder
// after, as KovaStudio does; and the same with the syncs left out, which only
// this comparison does. Staging and writing the new files are not timed.
// The files lie in FOLDER (by default a folder beside this program), so that
// the file system there is the one measured.
//
//   staged_commit_bench [benchmark options] [FOLDER]
#include "staged_files.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path folder;

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

void commit_image_and_report(benchmark::State& state, bool synced) {
    const std::string image(1 << 20, '\x5a');
    const std::string report(1200, 'r');
    const std::string dat = (folder / "x.dat").string();
    write_bytes(dat, image);
    write_bytes((folder / "x.log").string(), report);
    file_system_calls calls = real_file_system_calls();
    if (!synced) calls.sync = [](int) { return 0; };
    for (auto _ : state) {
        state.PauseTiming();
        staged_files staged(calls);
        const auto new_image = staged.stage(dat);
        const auto new_report = staged.stage((folder / "x.log").string());
        if (!new_image || !new_report) {
            state.SkipWithError("cannot stage");
            break;
        }
        write_bytes(*new_image, image);
        write_bytes(*new_report, report);
        state.ResumeTiming();
        if (!staged.commit()) {
            state.SkipWithError("commit failed");
            break;
        }
    }
}

void synced(benchmark::State& state) { commit_image_and_report(state, true); }
void without_syncs(benchmark::State& state) { commit_image_and_report(state, false); }
BENCHMARK(synced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(without_syncs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    folder = argc > 1 ? fs::path(argv[1]) : fs::read_symlink("/proc/self/exe").parent_path() / "commit-bench-tmp";
    fs::create_directories(folder);
    std::printf("files in %s\n", folder.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
