// Data for the QavGen tests: templates and voice files to build images from,
// and the checksum an image carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "template_image.h"
#include "test_files.h"
#include "test_image.h"

using bytes = std::vector<uint8_t>;

// Writes the template of `spec` to `path` and returns its bytes.
bytes write_template(const std::string& path, const template_spec& spec);

// Bytes of a stand-in voice file; none of them is 0xFF.
bytes voice_bytes(size_t count, uint8_t seed = 7);

// The checksum stored in the slot of an image file.
uint16_t stored_checksum(const bytes& image, int32_t header_offset, int system_info_length);
