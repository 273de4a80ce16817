// The 32-byte record at the start of every DAT image.
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr int kImageHeaderSize = 32;

struct image_header {
    uint8_t raw[kImageHeaderSize] = {};  // the record as stored, reserved bytes included
    int16_t header_offset = 0;           // file offset of ROM address 0
    int32_t cipher_start = 0;            // first ROM address of the enciphered range
    int32_t cipher_end = 0;              // ROM address just past the enciphered range
};

// Decodes the little-endian fields of a raw 32-byte record (magic not checked).
image_header image_header_decode(const uint8_t raw[kImageHeaderSize]);

// Reads the record from file offset 0. Returns 1 when 32 bytes came and the
// magic is "KOVA"; the file is then positioned at header_offset. Else 0.
int image_read_header(FILE* file, image_header& header);

// The test every caller makes right after image_read_header: the enciphered
// range must be a whole number of 8-byte blocks. Records that would make the
// readers seek before the ROM image or key a block by a negative position are
// refused as well: a header offset below 32 (inside the record itself) and a
// range that starts below ROM address 0. A range that ends before it starts
// (its length a negative multiple of 8) is a valid record: it holds no block,
// and the readers read the whole ROM image plainly.
bool image_header_accepted(const image_header& header);
