// DAT images for the writer tests: a generated template with voice bytes
// appended and the image checksum stored, as the image builder makes them.
#pragma once

#include "template_image.h"

#include <cstdint>
#include <string>
#include <vector>

struct test_image {
    std::vector<uint8_t> file;       // the DAT image
    std::vector<uint8_t> plain_rom;  // its ROM image deciphered
};

// A template as described, voice_bytes of voice data after it, and the checksum.
test_image make_test_image(const template_spec& spec, int32_t voice_bytes);
// Writes the image's file to path.
void write_file(const std::string& path, const std::vector<uint8_t>& bytes);
