// Compares chip bytes read back from the writer against the image, or
// against the blank value 0xFF, under the compare-mode bits.
#pragma once

#include "image_input.h"

#include <cstdint>

// A Slave chip's mark: programmed at ROM address 8 with the Slave flag, and
// accepted at L-8 by the mark compare modes.
inline constexpr uint8_t kSlaveMark = 0x5A;

// Compare-mode bits; L is the length of the image's system information.
inline constexpr uint8_t kSkipProtectBytes = 0x01;  // L-10 and L-9 not compared (no image: L-10 to L-7)
inline constexpr uint8_t kMarkOrBlank = 0x02;       // L-8 must be 0x5A or 0xFF
inline constexpr uint8_t kMarkOnly = 0x04;          // L-8 must be 0x5A
inline constexpr uint8_t kSkipTrimCode = 0x08;      // L-11, the trim code, not compared

struct compare_state {
    const image_input* image = nullptr;  // none: a blank check
    int32_t position = 0;                // chip address of the next byte compared
    int32_t errors = 0;
    uint8_t mode = 0;
    uint16_t system_info_length = 0;  // L
};

// Compares count chip bytes at the compare position, reading the image's
// bytes for them; does not advance the position. False when the image gave
// fewer bytes, or (with "Fatel Error !!") bytes for another address.
bool compare_block(const uint8_t* chip, int count, compare_state& state);

// (total - errors) * 100 / total, in percent.
float pass_ratio(int32_t total, int32_t errors);
