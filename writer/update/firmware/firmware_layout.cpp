#include "firmware_layout.h"

#include "image_cipher.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

namespace {

uint32_t crc_of(const uint8_t* image) {
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), image, static_cast<uInt>(kFirmwareCrcOffset)));
}

}  // namespace

std::vector<uint8_t> make_plain_firmware(int major, int minor) {
    std::vector<uint8_t> image(kFirmwareSize);
    // Stand-in program bytes: a fixed pseudo-random sequence, different for
    // each version, so that a download that lost or swapped a record shows.
    uint32_t state = 0x4B4F5641u ^ static_cast<uint32_t>(major << 8 | minor);
    for (uint8_t& byte : image) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    std::memcpy(image.data() + kFirmwareMagicOffset, kFirmwareMagic, sizeof kFirmwareMagic);
    image[kFirmwareVersionOffset] = static_cast<uint8_t>(major);
    image[kFirmwareVersionOffset + 1] = static_cast<uint8_t>(minor);
    char title[48];
    std::snprintf(title, sizeof title, "Writer application V%02d.%02d", major, minor);
    std::memcpy(image.data() + 0x40, title, std::strlen(title) + 1);
    const uint32_t crc = crc_of(image.data());
    for (int i = 0; i < 4; ++i) image[kFirmwareCrcOffset + i] = static_cast<uint8_t>(crc >> (8 * i));
    return image;
}

bool firmware_intact(const uint8_t* image) {
    if (std::memcmp(image + kFirmwareMagicOffset, kFirmwareMagic, sizeof kFirmwareMagic) != 0) return false;
    uint32_t stored = 0;
    for (int i = 0; i < 4; ++i) stored |= static_cast<uint32_t>(image[kFirmwareCrcOffset + i]) << (8 * i);
    return stored == crc_of(image);
}

void firmware_version(const uint8_t* image, int& major, int& minor) {
    major = image[kFirmwareVersionOffset];
    minor = image[kFirmwareVersionOffset + 1];
}

int32_t firmware_block_position(int32_t offset) {
    const int32_t record = offset & ~15;
    return offset % 16 == 0 ? 2 * record + 8 : 2 * record + 16;
}

std::vector<uint8_t> encipher_firmware(const std::vector<uint8_t>& plain) {
    std::vector<uint8_t> stored(plain.size());
    for (size_t o = 0; o + kCipherBlock <= plain.size(); o += kCipherBlock)
        image_encrypt_block(&plain[o], &stored[o], firmware_block_position(static_cast<int32_t>(o)));
    return stored;
}

void decipher_firmware(const uint8_t* stored, int32_t offset, int32_t size, uint8_t* plain) {
    for (int32_t o = 0; o + kCipherBlock <= size; o += kCipherBlock) {
        uint8_t scratch[kCipherBlock];
        std::memcpy(scratch, stored + offset + o, kCipherBlock);
        image_decrypt_block(scratch, plain + o, firmware_block_position(offset + o));
    }
}
