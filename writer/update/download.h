// Downloads the firmware image the updater carries into the writer's
// application area, through the boot loader.
#pragma once

#include "boot_loader.h"
#include "firmware_layout.h"

#include <cstdint>

// One progress dot per this many bytes written; the progress line holds the
// dots of the whole image.
inline constexpr int32_t kDownloadDotBytes = 0x200;
inline constexpr int kDownloadDots = kFirmwareSize / kDownloadDotBytes;

// Erases the application area and writes the stored (enciphered) image of
// kFirmwareSize bytes record by record, drawing the progress dots. 0 when
// every record after the first was echoed, else -1; a failed record does not
// stop the download. The key schedules must be built.
int download_firmware(boot_loader& loader, const uint8_t* stored_image);
