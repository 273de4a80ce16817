// Runs a fuzz target over saved inputs without the fuzzer: every file named
// on the command line, and every file in each folder named. The builds that
// do not fuzz use it to check every promise on the seed corpus, and anyone
// can use it to repeat an input that broke one.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "fuzz_support.h"

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s input-file-or-folder...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(argv[i])) {
            inputs.emplace_back(argv[i]);
        } else {
            // A corpus that was never made must not pass as one replayed empty input.
            std::fprintf(stderr, "%s: no input file or folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    // The code under test talks on standard output; only the verdict matters.
    if (!std::freopen("/dev/null", "w", stdout)) return 2;
    for (const fs::path& input : inputs) {
        const std::vector<uint8_t> bytes = kova_fuzz::read_file(input);
        std::fprintf(stderr, "%s\n", input.c_str());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed, every promise held\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
