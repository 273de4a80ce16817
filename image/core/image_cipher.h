// The position-keyed block cipher of enciphered image ranges: single DES (ECB)
// under one of 32 keys chosen by the block's position, plus a byte shuffle.
#pragma once

#include <cstdint>

inline constexpr int kCipherBlock = 8;
inline constexpr int kCipherKeys = 32;

// Index of the key that ciphers the block at position p: ((p / 8) XOR 2) mod 31,
// with C's truncating division and remainder.
int image_key_index(int32_t p);

// Builds the 32 encryption and decryption key schedules. Runs once per process;
// later calls do nothing. The block routines call it themselves.
void image_cipher_init();

// Deciphers one block. The input block is scrambled in place (the shuffle is
// undone on it), so callers pass a scratch copy.
void image_decrypt_block(uint8_t in[kCipherBlock], uint8_t out[kCipherBlock], int32_t p);

// Enciphers one block; the inverse of image_decrypt_block at the same p.
void image_encrypt_block(const uint8_t in[kCipherBlock], uint8_t out[kCipherBlock], int32_t p);
