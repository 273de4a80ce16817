// What every fuzz target shares: the check of a promise, a scratch folder of
// the process's own, and whole files written and read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kova_fuzz {

// Reports a broken promise on standard error and aborts, so that the fuzzer
// keeps the input that broke it.
[[noreturn]] void broken(const char* file, int line, const char* condition, const std::string& detail);

// A folder for this process alone, under $KOVA_FUZZ_SCRATCH (else the system's
// temporary folder), named after `name` and the process id. It is created
// empty on the first call and removed when the process ends normally.
const std::filesystem::path& scratch_folder(const std::string& name);

// Empties a folder, keeping the folder itself.
void empty_folder(const std::filesystem::path& folder);

// Whole files; read_file gives an empty vector for a file that cannot be read.
void write_file(const std::filesystem::path& path, const uint8_t* data, size_t size);
void write_file(const std::filesystem::path& path, const std::vector<uint8_t>& content);
std::vector<uint8_t> read_file(const std::filesystem::path& path);

// A small deterministic number stream drawn from the input, for choices
// such as read sizes that should vary with the input but repeat exactly.
class choices {
public:
    explicit choices(const uint8_t* data, size_t size);
    uint32_t next();
    // A number from lo to hi, both included.
    uint32_t between(uint32_t lo, uint32_t hi) { return lo + next() % (hi - lo + 1); }

private:
    uint64_t state_;
};

}  // namespace kova_fuzz

// Checks a promise of the code under test; `detail` (a std::string
// expression) tells what was seen when it does not hold.
#define KOVA_PROMISE(condition, detail)                                                \
    do {                                                                               \
        if (!(condition)) ::kova_fuzz::broken(__FILE__, __LINE__, #condition, detail); \
    } while (false)

// The entry point libFuzzer calls for each input; the replay driver calls it
// the same way. A target may also define LLVMFuzzerInitialize, called once.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
