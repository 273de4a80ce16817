#include "download.h"

#include <cstdio>

int download_firmware(boot_loader& loader, const uint8_t* stored_image) {
    erase_application_area(loader);
    std::fputs("     Updating[", stdout);
    std::fflush(stdout);
    bool failed = false;
    for (int32_t r = 0; r < kFirmwareSize; r += kFlashBlockSize) {
        uint8_t record[kFlashBlockSize];
        decipher_firmware(stored_image, r, kFlashBlockSize, record);
        const flash_write_mode mode = r == 0 ? flash_write_mode::first : flash_write_mode::checked;
        // The first record has no block before it to echo; its outcome does not count.
        if (!write_flash_block(loader, kFirmwareBase + r, kFlashBlockSize, record, mode) && r != 0) failed = true;
        if (r % kDownloadDotBytes == 0) {
            std::fputc('.', stdout);
            std::fflush(stdout);
        }
    }
    std::fputs("]\n", stdout);
    return failed ? -1 : 0;
}
