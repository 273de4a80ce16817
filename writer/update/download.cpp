#include "download.h"

#include "firmware_layout.h"
#include "image_cipher.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kDotEvery = 0x200;

// Deciphers the record at image offset r; the stored image stays untouched,
// since deciphering scrambles its input block.
void decipher_record(const uint8_t* stored_image, int32_t r, uint8_t record[kFlashBlockSize]) {
    for (int32_t half = 0; half < kFlashBlockSize; half += kCipherBlock) {
        uint8_t scratch[kCipherBlock];
        std::memcpy(scratch, stored_image + r + half, kCipherBlock);
        image_decrypt_block(scratch, record + half, firmware_block_position(r + half));
    }
}

}  // namespace

int download_firmware(boot_loader& loader, const uint8_t* stored_image) {
    erase_application_area(loader);
    std::fputs("     Updating[", stdout);
    std::fflush(stdout);
    bool failed = false;
    for (int32_t r = 0; r < kFirmwareSize; r += kFlashBlockSize) {
        uint8_t record[kFlashBlockSize];
        decipher_record(stored_image, r, record);
        const flash_write_mode mode = r == 0 ? flash_write_mode::first : flash_write_mode::checked;
        // The first record has no block before it to echo; its outcome does not count.
        if (!write_flash_block(loader, kFirmwareBase + r, kFlashBlockSize, record, mode) && r != 0) failed = true;
        if (r % kDotEvery == 0) {
            std::fputc('.', stdout);
            std::fflush(stdout);
        }
    }
    std::fputs("]\n", stdout);
    return failed ? -1 : 0;
}
