#include "image_cipher.h"

#include <mbedtls/des.h>

#include <utility>

#include "image_key_table.h"

namespace {

struct key_context {
    mbedtls_des_context encrypt;
    mbedtls_des_context decrypt;
};

key_context g_contexts[kCipherKeys];
bool g_built = false;

key_context& context_for(int32_t p) {
    image_cipher_init();
    int index = image_key_index(p);
    // Negative positions lie outside any image; their C remainder would be
    // negative. Fold it into the table rather than index before it.
    if (index < 0) index += 31;
    return g_contexts[index];
}

}  // namespace

int image_key_index(int32_t p) { return ((p / 8) ^ 2) % 31; }

void image_cipher_init() {
    if (g_built) return;
    for (int i = 0; i < kCipherKeys; ++i) {
        unsigned char key[MBEDTLS_DES_KEY_SIZE];
        for (int j = 0; j < MBEDTLS_DES_KEY_SIZE; ++j)
            key[j] = static_cast<unsigned char>(image_key_table[8 * i + j] ^ (1u << j));
        mbedtls_des_init(&g_contexts[i].encrypt);
        mbedtls_des_init(&g_contexts[i].decrypt);
        mbedtls_des_setkey_enc(&g_contexts[i].encrypt, key);
        mbedtls_des_setkey_dec(&g_contexts[i].decrypt, key);
    }
    g_built = true;
}

void image_decrypt_block(uint8_t in[kCipherBlock], uint8_t out[kCipherBlock], int32_t p) {
    std::swap(in[5], in[6]);
    in[0] ^= in[1];
    mbedtls_des_crypt_ecb(&context_for(p).decrypt, in, out);
}

void image_encrypt_block(const uint8_t in[kCipherBlock], uint8_t out[kCipherBlock], int32_t p) {
    mbedtls_des_crypt_ecb(&context_for(p).encrypt, in, out);
    std::swap(out[5], out[6]);
    out[0] ^= out[1];
}
