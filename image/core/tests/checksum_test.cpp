#include <gtest/gtest.h>

#include <string>

#include "image_checksum.h"
#include "test_image.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

struct checksum_run {
    int ok = 0;
    checksum_result result;
    uint16_t stored = 0xFFFF;
    long position = -1;
    std::string output;  // what the calculator wrote to standard output
};

checksum_run run(test_image& image, int32_t rom_size, bool verifier) {
    checksum_run r;
    FILE* file = open_bytes(image.file);
    image_header header;
    EXPECT_EQ(image_read_header(file, header), 1);
    CaptureStdout();
    r.ok = verifier ? chk_image_checksum(file, header, r.result, rom_size, r.stored)
                    : image_checksum(file, header, r.result, rom_size);
    r.output = GetCapturedStdout();
    r.position = std::ftell(file);
    std::fclose(file);
    return r;
}

uint16_t generated(test_image& image, int32_t rom_size) { return run(image, rom_size, false).result.checksum; }
uint16_t verified(test_image& image, int32_t rom_size) { return run(image, rom_size, true).result.checksum; }

template_spec level_one() { return {}; }

template_spec level_two() {
    template_spec spec;
    spec.level = 2;
    spec.cipher_start = 0x30;  // the first block boundary after L = 44
    return spec;
}

TEST(ImageChecksum, BothCalculatorsSumTheDecipheredRom) {
    for (const template_spec& spec : {level_one(), level_two()}) {
        test_image image = make_test_image(spec, 0x3000);
        const int L = spec.level == 2 ? 44 : 16;
        for (int32_t rom_size : {0x4000, 0x2345, 0x8000}) {
            const uint16_t expected = expected_checksum(image.rom, L, rom_size);
            EXPECT_EQ(generated(image, rom_size), expected) << "level " << spec.level << " R " << rom_size;
            EXPECT_EQ(verified(image, rom_size), expected) << "level " << spec.level << " R " << rom_size;
        }
        const checksum_run r = run(image, 0x4000, true);
        EXPECT_EQ(r.ok, 1);
        EXPECT_EQ(r.position, image.base);
        EXPECT_EQ(r.result.system_info_length, L);
    }
}

TEST(ImageChecksum, MissingBytesCountAsBlankOnlyUpToTheLargestPaddedRom) {
    test_image image = make_test_image(level_one(), 0x3000);
    test_image padded = image;
    padded.file.resize(image.file.size() + 0xC000, 0xFF);
    EXPECT_EQ(generated(image, 0x10000), generated(padded, 0x10000));
    EXPECT_EQ(verified(image, 0x10000), verified(padded, 0x10000));
    EXPECT_EQ(generated(image, 0xFFFFFE), expected_checksum(image.rom, 16, 0xFFFFFE));

    // Past that size the sum simply ends with the file.
    EXPECT_EQ(generated(image, 0x1000000), generated(image, 0x4000));
    EXPECT_EQ(verified(image, 0x1000000), generated(image, 0x4000));
}

TEST(ImageChecksum, RestOfTheSystemInformationDoesNotCount) {
    for (const template_spec& spec : {level_one(), level_two()}) {
        test_image image = make_test_image(spec, 0x100);
        const int L = spec.level == 2 ? 44 : 16;
        const uint16_t before = generated(image, 0x1100);
        for (int32_t a = 6; a < L; ++a) {
            test_image changed = image;
            set_rom_byte(changed, a, static_cast<uint8_t>(image.rom[a] + 1));
            EXPECT_EQ(generated(changed, 0x1100), before) << "byte " << a;
            EXPECT_EQ(verified(changed, 0x1100), before) << "byte " << a;
        }
        for (int32_t a : {5, L}) {
            test_image changed = image;
            set_rom_byte(changed, a, static_cast<uint8_t>(image.rom[a] + 1));
            EXPECT_EQ(generated(changed, 0x1100), static_cast<uint16_t>(before - 1)) << "byte " << a;
        }
    }
}

TEST(ImageChecksum, LevelComesFromTheLowFourteenBitsOfTheFirstWord) {
    test_image image = make_test_image(level_one(), 0);
    set_rom_byte(image, 0, 0x08);
    set_rom_byte(image, 1, 0x40);
    checksum_run r = run(image, 0x1000, true);
    EXPECT_EQ(r.result.system_info_length, 16);
    EXPECT_EQ(r.result.level, 1);

    image = make_test_image(level_two(), 0);
    EXPECT_EQ(run(image, 0x1000, true).result.level, 2);

    set_rom_byte(image, 0, 10);  // L = 20: unrecognised, still summed
    r = run(image, 0x1000, false);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.result.level, -1);
    EXPECT_EQ(r.result.checksum, expected_checksum(image.rom, 20, 0x1000));
}

TEST(ImageChecksum, FrequencyAdjustBlockNeedsTheComplement) {
    test_image image = make_test_image(level_two(), 0);  // 0xF0 0x32 0xCD
    checksum_run r = run(image, 0x1000, false);
    EXPECT_EQ(r.result.frequency_adjust, 1);
    EXPECT_EQ(r.result.frequency_hz, 5000000);
    EXPECT_EQ(r.output, "System Information Level II define frequency Adj to 5.0 MHz.\n");
    r = run(image, 0x1000, true);
    EXPECT_EQ(r.result.frequency_adjust, 1);
    EXPECT_EQ(r.output, "");  // QavChk prints its own line

    set_rom_byte(image, 44 - 12, 0xCC);
    r = run(image, 0x1000, false);
    EXPECT_EQ(r.result.frequency_adjust, 0);
    EXPECT_EQ(r.output, "");
}

TEST(ImageChecksum, VerifierCannotReadARangeStartingAtAnUnalignedL) {
    template_spec spec = level_two();
    spec.cipher_start = 44;
    spec.cipher_end = 0x104;
    test_image image = make_test_image(spec, 0x100);
    EXPECT_EQ(generated(image, 0x1100), expected_checksum(image.rom, 44, 0x1100));

    // Its first read of 4 bytes inside the range gets none: the rest counts as blank.
    const std::vector<uint8_t> system_info(image.rom.begin(), image.rom.begin() + 44);
    EXPECT_EQ(verified(image, 0x1100), expected_checksum(system_info, 44, 0x1100));
    seal_image(image, 0x1100);
    const checksum_run r = run(image, 0x1100, true);
    EXPECT_NE(r.result.checksum, r.stored);
}

TEST(ImageChecksum, VerifierReadsTheStoredChecksum) {
    test_image image = make_test_image(level_two(), 0x100);
    seal_image(image, 0x1100);
    checksum_run r = run(image, 0x1100, true);
    EXPECT_EQ(r.stored, r.result.checksum);
    EXPECT_EQ(r.stored, image.rom[42] | image.rom[43] << 8);

    // An image too short to hold the slot leaves the stored value alone.
    image.file.resize(image.base + 20);
    r = run(image, 0x1100, true);
    EXPECT_EQ(r.stored, 0xFFFF);
}

// The file ends before the enciphered first block of the ROM: none of its
// bytes came, so the system information reads as blank 0xFF (L = 0x7FFE)
// rather than as whatever a block of zeros deciphers to.
TEST(ImageChecksum, EncipheredBlockCutAtTheEndOfTheFileReadsAsBlank) {
    test_image image;
    image.file.assign(kImageHeaderSize, 0xFF);
    image.file[0] = 'K', image.file[1] = 'O', image.file[2] = 'V', image.file[3] = 'A';
    put_header_fields(image.file, kImageHeaderSize, 0, 8);
    for (bool verifier : {false, true}) {
        const checksum_run r = run(image, 0, verifier);
        EXPECT_EQ(r.ok, 1);
        EXPECT_EQ(r.result.system_info_length, 0x7FFE);
        EXPECT_EQ(r.result.checksum, static_cast<uint16_t>(0x10000 - 6 * 0xFF));
        EXPECT_EQ(r.result.frequency_adjust, 0);
        EXPECT_EQ(r.stored, 0xFFFF);
    }
}

TEST(ImageChecksum, SystemInformationShorterThanSixteenBytesIsRefused) {
    for (uint8_t half : {0, 1, 7}) {
        test_image image = make_test_image(level_one(), 0);
        set_rom_byte(image, 0, half);
        EXPECT_EQ(run(image, 0x1000, false).ok, 0) << "L = " << 2 * half;
        const checksum_run r = run(image, 0x1000, true);
        EXPECT_EQ(r.ok, 0);
        EXPECT_EQ(r.position, image.base);
    }
}

}  // namespace
