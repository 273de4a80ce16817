// DAT images for tests, built in memory from an image template plus voice
// bytes, with the plain ROM kept beside them so tests can tell what the
// deciphering reader ought to deliver.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "template_image.h"

struct test_image {
    std::vector<uint8_t> file;  // the DAT image as stored (range enciphered)
    std::vector<uint8_t> rom;   // the same ROM image in plain
    int32_t base = 0;           // header_offset
};

// The template for spec followed by voice_bytes bytes of a fixed pattern.
test_image make_test_image(const template_spec& spec, size_t voice_bytes = 0);

// Sets a ROM byte in both the plain ROM and the stored file (which must lie
// outside the enciphered range).
void set_rom_byte(test_image& image, int32_t address, uint8_t value);

// Writes the header record's fields, as stored (little-endian), into the
// first 16 bytes of an image file: the header offset and the enciphered range.
// Written here apart from the template builder, so that tests of the readers
// do not take their field layout from the code they check.
void put_header_fields(std::vector<uint8_t>& file, int16_t header_offset, int32_t cipher_start,
                       int32_t cipher_end);

// The checksum rule worked out on the plain ROM: bytes 0 to 5 (always) and L
// to R - 1, with bytes past the ROM counted as 0xFF.
uint16_t expected_checksum(const std::vector<uint8_t>& rom, int L, int32_t rom_size);

// Fills the checksum slot with the value the generator computes for rom_size.
void seal_image(test_image& image, int32_t rom_size);

// make_test_image sealed over its own ROM length, as the image builder makes
// an image whose ROM size is just what it holds.
test_image make_sealed_image(const template_spec& spec, size_t voice_bytes = 0);

// A read-only stream over bytes that must outlive it.
FILE* open_bytes(std::vector<uint8_t>& bytes);

// The ROM image of a DAT image file as the deciphering reader delivers it; empty when the file cannot be
// opened or its header record is not read.
std::vector<uint8_t> deciphered_rom(const std::string& dat_path);
