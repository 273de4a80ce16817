#include <gtest/gtest.h>

#include <cstring>

#include "built_in_firmware.h"
#include "firmware_layout.h"

namespace {

std::vector<uint8_t> decipher(const uint8_t* stored) {
    std::vector<uint8_t> plain(kFirmwareSize);
    decipher_firmware(stored, 0, kFirmwareSize, plain.data());
    return plain;
}

TEST(WriterFirmware, RecordsAreKeyedByTwiceTheirOffset) {
    EXPECT_EQ(firmware_block_position(0), 8);
    EXPECT_EQ(firmware_block_position(8), 16);
    EXPECT_EQ(firmware_block_position(16), 40);
    EXPECT_EQ(firmware_block_position(24), 48);
    EXPECT_EQ(firmware_block_position(0x5FF8), 2 * 0x5FF0 + 16);
}

TEST(WriterFirmware, BuiltInImageDeciphersToIntactVersion108) {
    const auto plain = decipher(built_in_firmware);
    ASSERT_TRUE(firmware_intact(plain.data()));
    int major = 0, minor = 0;
    firmware_version(plain.data(), major, minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 8);
    // Stored enciphered: the descriptor is not readable in the stored form.
    EXPECT_NE(std::memcmp(built_in_firmware + kFirmwareMagicOffset, kFirmwareMagic, sizeof kFirmwareMagic), 0);
    EXPECT_FALSE(firmware_intact(built_in_firmware));
}

TEST(WriterFirmware, IntegrityCheckCatchesDamage) {
    auto image = make_plain_firmware(1, 8);
    ASSERT_TRUE(firmware_intact(image.data()));
    // A record left blank (erased flash that was never written) or two records swapped.
    auto blank = image;
    std::memset(&blank[0x3000], 0xFF, 16);
    EXPECT_FALSE(firmware_intact(blank.data()));
    auto swapped = image;
    std::swap_ranges(swapped.begin() + 0x100, swapped.begin() + 0x110, swapped.begin() + 0x110);
    EXPECT_FALSE(firmware_intact(swapped.data()));
    auto unnamed = image;
    unnamed[kFirmwareMagicOffset] ^= 1;
    EXPECT_FALSE(firmware_intact(unnamed.data()));
}

TEST(WriterFirmware, OtherVersionsDiffer) {
    const auto v107 = make_plain_firmware(1, 7);
    int major = 0, minor = 0;
    firmware_version(v107.data(), major, minor);
    EXPECT_EQ(minor, 7);
    EXPECT_TRUE(firmware_intact(v107.data()));
    EXPECT_NE(v107, make_plain_firmware(1, 8));
}

}  // namespace
