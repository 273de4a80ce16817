// The open DAT image as the writer program reads it: every ROM byte goes
// through the deciphering reader, so the chip sees the plain ROM image.
#pragma once

#include "image_header.h"

#include <cstdint>
#include <cstdio>

struct image_input {
    FILE* file = nullptr;
    image_header header;
};

// Reads up to count bytes at the file's current position through the
// deciphering reader, wherever the position and the count fall in the
// enciphered blocks; rom_position receives the chip address of the first.
// Returns the number of bytes read (fewer only at the end of the file).
int32_t read_image_data(uint8_t* buffer, int32_t count, const image_input& image, int32_t& rom_position);
// Positions the file at chip address `address`.
bool seek_image(const image_input& image, int32_t address);
