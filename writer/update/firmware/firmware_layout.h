// The writer's application firmware as the updater downloads it: 0x6000 bytes
// for flash addresses 0x2000 to 0x7FFF, with a descriptor that names it and its
// version, and a CRC-32 over everything before the last four bytes, so that
// the boot loader can tell a complete application from a broken one.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int32_t kFirmwareBase = 0x2000;  // flash address of firmware byte 0
inline constexpr int32_t kFirmwareSize = 0x6000;
inline constexpr int32_t kFirmwareMagicOffset = 0x10;
inline constexpr char kFirmwareMagic[16] = "KOVA WRITER APP";  // 15 characters and a zero byte
inline constexpr int32_t kFirmwareVersionOffset = 0x20;       // major, then minor
inline constexpr int32_t kFirmwareCrcOffset = kFirmwareSize - 4;  // CRC-32, little-endian

// A plain firmware image of the given version.
std::vector<uint8_t> make_plain_firmware(int major, int minor);

// True when the image (kFirmwareSize bytes) carries the descriptor and a CRC
// that matches its contents.
bool firmware_intact(const uint8_t* image);

// The version the descriptor names.
void firmware_version(const uint8_t* image, int& major, int& minor);

// Position of the 8-byte block at image offset `offset` (a multiple of 8) for
// the image cipher: each 16-byte record r is stored as two blocks keyed with
// p = 2r + 8 and p = 2r + 16.
int32_t firmware_block_position(int32_t offset);

// Enciphers a plain image block by block under that position rule.
std::vector<uint8_t> encipher_firmware(const std::vector<uint8_t>& plain);

// Deciphers `size` bytes (a multiple of 8) of the stored image from image
// offset `offset` (a multiple of 8) into plain, under the same rule. The stored
// image stays untouched: each block is deciphered from a scratch copy, since
// deciphering scrambles its input block.
void decipher_firmware(const uint8_t* stored, int32_t offset, int32_t size, uint8_t* plain);
