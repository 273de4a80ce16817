#include <gtest/gtest.h>
#include <mbedtls/des.h>

#include <array>
#include <cstring>

#include "image_cipher.h"
#include "image_key_table.h"

namespace {

using block = std::array<uint8_t, 8>;

TEST(ImageCipher, KeyIndexFollowsTheBlockPosition) {
    EXPECT_EQ(image_key_index(8), 3);
    EXPECT_EQ(image_key_index(16), 0);
    EXPECT_EQ(image_key_index(24), 1);
    EXPECT_EQ(image_key_index(32), 6);
    EXPECT_EQ(image_key_index(248), 29);
    EXPECT_EQ(image_key_index(256), 3);
    for (int32_t p = 0; p < 0x100000; p += 8) {
        ASSERT_GE(image_key_index(p), 0);
        ASSERT_LT(image_key_index(p), 31);
    }
}

TEST(ImageCipher, DecipheringUndoesEnciphering) {
    for (int32_t p : {8, 16, 248, 0x1000, 0x7FFFFFF8}) {
        block plain;
        for (int i = 0; i < 8; ++i) plain[i] = static_cast<uint8_t>(p * 31 + i * 57);
        block enciphered, scratch, back;
        image_encrypt_block(plain.data(), enciphered.data(), p);
        EXPECT_NE(enciphered, plain);
        scratch = enciphered;
        image_decrypt_block(scratch.data(), back.data(), p);
        EXPECT_EQ(back, plain) << "p = " << p;
    }
}

TEST(ImageCipher, BlocksAreSingleDesUnderTheKeyOfTheirPositionThenShuffled) {
    const int32_t p = 32;  // key 6
    const block plain{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};

    unsigned char key[8];
    for (int j = 0; j < 8; ++j) key[j] = static_cast<unsigned char>(image_key_table[8 * 6 + j] ^ (1 << j));
    mbedtls_des_context des;
    mbedtls_des_init(&des);
    mbedtls_des_setkey_enc(&des, key);
    block expected;
    mbedtls_des_crypt_ecb(&des, plain.data(), expected.data());
    mbedtls_des_free(&des);
    std::swap(expected[5], expected[6]);
    expected[0] ^= expected[1];

    block enciphered;
    image_encrypt_block(plain.data(), enciphered.data(), p);
    EXPECT_EQ(enciphered, expected);

    // The same block at a position with another key enciphers differently.
    block other;
    image_encrypt_block(plain.data(), other.data(), p + 8);
    EXPECT_NE(other, enciphered);
}

}  // namespace
