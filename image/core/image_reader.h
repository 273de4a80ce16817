// The ranged reader through which every program reads ROM image bytes: plain
// outside the enciphered range, deciphered block by block inside it.
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr int kPlainChunk = 1024;

// Reads up to n bytes from the file's current position, which must not lie
// inside the range other than on a block boundary. base is the file offset of
// ROM address 0; [start, end) the enciphered range. Never seeks. Stops early at
// the end of the file and before a partial block inside the range. Returns the
// number of bytes delivered; 0 at once when end - start is not a multiple of 8.
// Nothing past the delivered bytes is written to the buffer.
int32_t image_read(uint8_t* buffer, int32_t n, FILE* file, int32_t base, int32_t start, int32_t end);

// The same, also telling the ROM position of the read start (file position
// minus base) before anything is read, so the caller knows the chip address of
// the bytes it gets.
int32_t image_read_at(uint8_t* buffer, int32_t n, FILE* file, int32_t base, int32_t start, int32_t end,
                      int32_t& rom_position);
