// The memory usage estimate under the file list: how many bytes of the chip's
// ROM the voice project is expected to take, without running the encoder, and
// whether that leaves room to compile. All arithmetic is 64-bit and saturates,
// and no text can subtract from the sum, so that no project is estimated
// smaller than its parts and wrongly allowed to compile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ini_file;

// The mode file's [Global] Offset as the estimate reads it: "600" when absent.
std::string estimate_offset_text(const ini_file& mode_file);

// The offset text read as hexadecimal digits; 1536 (0x600) when it is not a
// hexadecimal number.
int64_t estimate_offset(const std::string& offset_text);

struct memory_estimate_input {
    std::string offset_text;                    // the mode file's [Global] Offset, "600" when absent
    std::vector<std::string> size_cells;        // file-list column 2 of rows 1..RowCount-1
    std::vector<std::string> group_item_lists;  // group-list column 5 of rows 1..RowCount-1
};

// offset + 48 + the sizes + 4 for each group + 8 for each entry of a group
// (8 for a group without entries). A size that is not a decimal number, or is
// negative, counts 0.
int64_t estimate_bytes(const memory_estimate_input& input);

struct memory_usage {
    int64_t bytes;
    int64_t percent;  // bytes * 100 / maximum, truncated; 0 for a maximum below 1
    bool fits;        // bytes + 16 < maximum: Compile is enabled
};
memory_usage evaluate_memory_usage(int64_t bytes, int64_t maximum);

// The gauge's maximum after a device is chosen: its Size, or the maximum in
// force before when Size is 0 or negative (the gauge takes no such maximum).
int64_t gauge_maximum(int64_t previous, int32_t device_size);

// "Memory Usage: <percent>%".
std::string memory_usage_text(int64_t percent);
