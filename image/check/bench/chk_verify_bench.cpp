// Verifies an image of the given ROM size whose enciphered range covers
// 256 KiB. The checksum reads through a fixed 1 KiB buffer, so memory use does
// not grow with the image; the time grows with the bytes summed.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "qavchk.h"
#include "test_image.h"

namespace {

FILE* image_file(int32_t rom_size) {
    template_spec spec;
    spec.offset = rom_size;
    spec.cipher_start = 0x100;
    spec.cipher_end = 0x100 + 256 * 1024;
    test_image image = make_test_image(spec);
    seal_image(image, rom_size);
    FILE* file = std::tmpfile();
    std::fwrite(image.file.data(), 1, image.file.size(), file);
    std::fflush(file);
    return file;
}

void verify_image(benchmark::State& bench) {
    const auto rom_size = static_cast<int32_t>(bench.range(0));
    chk_state state;
    state.rom_size = rom_size;
    state.image = image_file(rom_size);
    for (auto _ : bench) {
        if (chk_verify_image(state) != 0 || state.result.checksum != state.stored_checksum) {
            bench.SkipWithError("image does not verify");
            break;
        }
        benchmark::DoNotOptimize(state.result.checksum);
    }
    bench.SetBytesProcessed(bench.iterations() * rom_size);
    chk_close_files(state);
}

BENCHMARK(verify_image)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
