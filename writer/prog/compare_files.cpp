#include "compare_files.h"

#include "block_compare.h"
#include "regular_file.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t kBlockBytes = 1024;
constexpr int32_t kLoggedErrors = 24;
constexpr uint8_t kBlank = 0xFF;


// Counts and logs the differences of one compare run.
class difference_log {
public:
    explicit difference_log(FILE* log) : log_(log) {}

    void add(int32_t offset, uint8_t first, uint8_t second) {
        ++errors_;
        if (log_ == nullptr) return;
        if (errors_ <= kLoggedErrors) {
            std::fprintf(log_, "Error #%02d at %06X [%02X] --> [%02X].\n", errors_, offset, first, second);
        } else if (errors_ == kLoggedErrors + 1) {
            std::fprintf(log_, "\nThere are more than %d errors .... (Stoping log).\n", errors_);
        }
    }
    // Bytes that could not be read: errors without a line of their own.
    void add_unread(int32_t count) { errors_ += count; }
    int32_t errors() const { return errors_; }

private:
    FILE* log_;
    int32_t errors_ = 0;
};

// Reads up to count bytes at the current position; the number read.
int32_t read_block(FILE* file, uint8_t* bytes, int32_t count) {
    return static_cast<int32_t>(std::fread(bytes, 1, static_cast<size_t>(count), file));
}

}  // namespace

bool compare_files(const std::optional<std::string>& first_path, const std::string& second_path,
                   int32_t first_offset, int32_t last_offset, FILE* log, float& ratio) {
    ratio = 0;
    owned_file first;
    if (first_path) first.reset(std::fopen(first_path->c_str(), "rb"));
    owned_file second(std::fopen(second_path.c_str(), "rb"));
    if ((first_path && !first) || !second) {
        if (log != nullptr) std::fputs("File open error for compare.\n\n", log);
        return false;
    }
    // An empty or reversed range has no byte to compare and no ratio to give.
    if (first_offset < 0 || last_offset < first_offset) return false;

    const int32_t total = last_offset - first_offset + 1;
    difference_log differences(log);
    bool positioned = std::fseek(second.get(), first_offset, SEEK_SET) == 0;
    if (first) positioned = positioned && std::fseek(first.get(), first_offset, SEEK_SET) == 0;

    std::array<uint8_t, kBlockBytes> first_bytes;
    std::array<uint8_t, kBlockBytes> second_bytes;
    if (!first) first_bytes.fill(kBlank);
    int32_t compared = 0;
    while (positioned && compared < total) {
        const int32_t want = std::min(kBlockBytes, total - compared);
        int32_t got = read_block(second.get(), second_bytes.data(), want);
        if (first) got = std::min(got, read_block(first.get(), first_bytes.data(), want));
        for (int32_t i = 0; i < got; ++i) {
            if (first_bytes[i] != second_bytes[i]) {
                differences.add(first_offset + compared + i, first_bytes[i], second_bytes[i]);
            }
        }
        compared += got;
        if (got < want) break;  // a file ends inside the range
    }
    differences.add_unread(total - compared);

    ratio = pass_ratio(total, differences.errors());
    return differences.errors() == 0;
}
