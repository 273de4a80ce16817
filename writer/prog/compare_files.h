// Byte-by-byte comparison of two files over a range of offsets, with the
// differences logged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// Compares the files' bytes at offsets first_offset..last_offset (both
// included); without a first file the second is compared against blank 0xFF
// bytes. Logs the first 24 differences and a line at the 25th; bytes that a
// file does not hold count as errors. ratio receives the share of equal bytes
// in percent. True when every byte is equal. A log of nullptr logs nothing.
bool compare_files(const std::optional<std::string>& first_path, const std::string& second_path,
                   int32_t first_offset, int32_t last_offset, FILE* log, float& ratio);
