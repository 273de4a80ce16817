// The image checksum: the 16-bit sum of ROM bytes 0 to 5 and L to R - 1, read
// through the deciphering reader, with missing bytes counted as 0xFF (a blank
// chip) when R is at most 0xFFFFFE. The stored value is its two's complement.
#pragma once

#include <cstdint>
#include <cstdio>

#include "image_header.h"

inline constexpr int32_t kLargestPaddedRom = 0xFFFFFE;
inline constexpr int kMinSystemInfoLength = 16;

struct checksum_result {
    int16_t level = -1;               // 1 (L = 16), 2 (L = 44) or -1
    uint16_t checksum = 0;            // the computed checksum
    uint16_t system_info_length = 0;  // L
    uint8_t frequency_adjust = 0;     // 1 when a frequency-adjust block is present
    int32_t frequency_hz = 0;         // target frequency, set only with the flag
};

// QavGen's calculator: also prints the frequency-adjust line to standard output.
// Both calculators need a header already read and accepted, and leave the file
// at header_offset. They return 1, or 0 for a system information shorter than
// 16 bytes, which would put the checksum slot and the frequency-adjust block
// before the ROM image.
int image_checksum(FILE* file, const image_header& header, checksum_result& result, int32_t rom_size);

// QavChk's calculator: also reads the stored checksum (two plain bytes at ROM
// L - 2; left as it is when the image is too short to hold them), and starts
// summing after system_info with a read that re-aligns the ROM address to a
// multiple of 8.
int chk_image_checksum(FILE* file, const image_header& header, checksum_result& result, int32_t rom_size,
                       uint16_t& stored_checksum);
