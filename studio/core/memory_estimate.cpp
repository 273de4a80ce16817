#include "memory_estimate.h"

#include <cctype>
#include <limits>

#include "decimal_text.h"
#include "group_item_list.h"
#include "ini_file.h"

namespace {

constexpr int64_t kDefaultOffset = 0x600;
constexpr int64_t kHeaderBytes = 48;
constexpr int64_t kBytesPerGroup = 4;
constexpr int64_t kBytesPerEntry = 8;
constexpr int64_t kCompileMargin = 16;
constexpr int64_t kMost = std::numeric_limits<int64_t>::max();

// Both operands are at least 0.
int64_t saturating_add(int64_t a, int64_t b) { return a > kMost - b ? kMost : a + b; }

int64_t saturating_multiply(int64_t a, int64_t b) { return b != 0 && a > kMost / b ? kMost : a * b; }

}  // namespace

std::string estimate_offset_text(const ini_file& mode_file) { return mode_file.read_string("Global", "Offset", "600"); }

int64_t estimate_offset(const std::string& offset_text) {
    if (offset_text.empty()) return kDefaultOffset;
    int64_t value = 0;
    for (const char c : offset_text) {
        const unsigned char digit = static_cast<unsigned char>(c);
        if (!std::isxdigit(digit)) return kDefaultOffset;
        const int64_t nibble = std::isdigit(digit) ? digit - '0' : std::tolower(digit) - 'a' + 10;
        // An offset beyond 64 bits is no smaller than the largest one.
        value = saturating_add(saturating_multiply(value, 16), nibble);
    }
    return value;
}

int64_t estimate_bytes(const memory_estimate_input& input) {
    int64_t bytes = saturating_add(estimate_offset(input.offset_text), kHeaderBytes);
    for (const std::string& cell : input.size_cells) {
        const int64_t size = parse_decimal(cell).value_or(0);
        if (size > 0) bytes = saturating_add(bytes, size);
    }
    for (const std::string& items : input.group_item_lists) {
        const int64_t entries = static_cast<int64_t>(items.size() / kItemEntryLength);
        bytes = saturating_add(bytes, kBytesPerGroup);
        bytes = saturating_add(bytes, items.empty() ? kBytesPerEntry : saturating_multiply(entries, kBytesPerEntry));
    }
    return bytes;
}

memory_usage evaluate_memory_usage(int64_t bytes, int64_t maximum) {
    if (maximum < 1) return {bytes, 0, false};
    const __int128 percent = static_cast<__int128>(bytes) * 100 / maximum;
    const int64_t shown = percent > kMost ? kMost : percent < -kMost ? -kMost : static_cast<int64_t>(percent);
    return {bytes, shown, bytes < maximum - kCompileMargin};
}

int64_t gauge_maximum(int64_t previous, int32_t device_size) { return device_size > 0 ? device_size : previous; }

std::string memory_usage_text(int64_t percent) { return "Memory Usage: " + std::to_string(percent) + "%"; }
