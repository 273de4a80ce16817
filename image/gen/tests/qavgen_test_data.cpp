#include "qavgen_test_data.h"

#include <gtest/gtest.h>

bytes write_template(const std::string& path, const template_spec& spec) {
    std::string error;
    bytes content = template_file(spec, error);
    EXPECT_EQ(error, "");
    write_file(path, content);
    return content;
}

bytes voice_bytes(size_t count, uint8_t seed) {
    bytes voice(count);
    for (size_t i = 0; i < count; ++i) voice[i] = static_cast<uint8_t>((i * 31 + seed) % 251);
    return voice;
}

uint16_t stored_checksum(const bytes& image, int32_t header_offset, int system_info_length) {
    const size_t at = static_cast<size_t>(header_offset + system_info_length - 2);
    return static_cast<uint16_t>(image.at(at) | image.at(at + 1) << 8);
}
