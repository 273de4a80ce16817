// A write test on two blank bytes of the chip: programs 0x55 and 0xAA at the
// first and the last 0xFF byte of a file that holds the chip's bytes from
// address 0, and reads both back.
#pragma once

#include "writer_link.h"

#include <cstdint>
#include <cstdio>

// Looks for 0xFF bytes in the file at offsets first_offset..last_offset (both
// included); the first and the last found are the chip addresses written.
// Prints each write with its read-back value (and logs it, unless log is
// nullptr); ratio receives the share of bytes that read back right in
// percent. True when both did. Fails without two such bytes.
bool blank_pair_write_test(writer_link& link, FILE* file, int32_t first_offset, int32_t last_offset, FILE* log,
                           float& ratio);
