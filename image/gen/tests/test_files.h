// Scratch files for the QavGen tests: one folder per test, and the images the
// tests build from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "template_image.h"

using bytes = std::vector<uint8_t>;

// A fresh, empty folder for the running test under KOVA_TEST_TMP.
std::string test_folder();

void write_file(const std::string& path, const bytes& content);
void write_text(const std::string& path, const std::string& text);
bytes read_file(const std::string& path);
std::string read_text(const std::string& path);
bool file_exists(const std::string& path);

// Writes the template of `spec` to `path` and returns its bytes.
bytes write_template(const std::string& path, const template_spec& spec);

// Bytes of a stand-in voice file; none of them is 0xFF.
bytes voice_bytes(size_t count, uint8_t seed = 7);

// The checksum the image should carry, summed over the plain ROM (bytes 0 to
// 5 and L to rom_size - 1, 0xFF past the end of `rom`).
uint16_t expected_checksum(const bytes& rom, int32_t rom_size);

// The checksum stored in the slot of an image file.
uint16_t stored_checksum(const bytes& image, int32_t header_offset, int system_info_length);
