// A DAT image's ROM as the format defines it, worked out byte by byte for
// the fuzz targets to hold the readers to: plain outside the enciphered
// range, each block inside it deciphered on its own (a block cut short by the
// end of the file from its bytes and zeros), and every byte past the end of
// the file a blank chip's 0xFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "image_header.h"

struct image_model {
    image_header header;
    bool accepted = false;      // a record the image tools accept (magic, range, offsets)
    int64_t rom_length = 0;     // file size minus the header offset; 0 or less: no ROM byte
    std::vector<uint8_t> rom;   // the ROM bytes the file holds, deciphered

    // The byte at a ROM address: 0xFF past the end of the file.
    uint8_t at(int64_t address) const;
    // True when the address lies in the enciphered range.
    bool enciphered(int64_t address) const;
    // True when the file ends inside an enciphered block.
    bool ends_in_a_block() const;

    // L, the length of the system information, from the first two ROM bytes.
    int system_info_length() const;
    // False when a read of the first 8 ROM bytes does not deliver byte 1 as
    // the model has it: a range starting at ROM 1 stops that read after
    // byte 0, before a block of which fewer than 8 bytes are wanted.
    bool first_word_read_whole() const;
    // True when the enciphered range lies after the system information (or
    // starts on it when L is a multiple of 8, or holds no block): every byte
    // of the system information and the checksum slot is stored plainly, as
    // the image tools expect of an image.
    bool keeps_to_the_format(int L) const;
};

// Fills a read's buffer before the read, so that bytes written past what it
// delivered show.
inline constexpr uint8_t kUntouched = 0xA5;

// Promises that the `got` bytes a read delivered into `buffer` are the
// model's from ROM address `from`, and that the rest of its `room` bytes
// still hold kUntouched.
void check_delivered(const image_model& m, int64_t from, const uint8_t* buffer, int32_t got, int32_t room);

// The model of a file's bytes. Without an accepted header record the ROM is
// left empty.
image_model model_of(const uint8_t* file, size_t size);

// An open stream over a copy of the bytes in a file that lives in memory, so
// that seeking and reading behave as on any file on disk; null on failure.
FILE* open_image_bytes(const uint8_t* file, size_t size);
