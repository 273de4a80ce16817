#pragma once

#include <cstdint>

// 32 rows of 8 bytes; key i, byte j is row i, byte j XOR (1 << j).
extern const uint8_t image_key_table[256];
