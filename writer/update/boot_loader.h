// The updater's side of the writer's boot loader: erasing and writing the
// application area of the writer's flash. Each write is answered with the
// block written before it, which is how a write is checked.
#pragma once

#include "firmware_layout.h"
#include "writer_link.h"

#include <cstdint>

inline constexpr int kFlashBlockSize = 16;
inline constexpr int kBootAnswerWaitMs = 500;
// The updater waits this long for the answer to a restart command.
inline constexpr int kUpdaterRestartAnswerMs = 500;

// The application area, erased region by region in this order.
struct flash_region {
    int32_t start;
    int32_t size;  // bytes; the erase report carries it in whole KiB
};
inline constexpr flash_region kApplicationRegions[] = {
    {0x2000, 4096}, {0x3000, 4096}, {0x4000, 4096}, {0x5000, 4096}, {0x6000, 4096}, {0x7000, 3584},
};
// The firmware image fills the application area.
inline constexpr int32_t kApplicationStart = kFirmwareBase;
inline constexpr int32_t kApplicationEnd = kFirmwareBase + kFirmwareSize;  // exclusive

// How write_flash_block sends and checks a block.
enum class flash_write_mode {
    first = 0,    // write; only the answer is awaited (nothing was written before)
    checked = 1,  // write; the answer must echo the previous block
    final = -1,   // final write; the answer must echo the previous block
};

// One download session on an open link in boot-loader mode. The previous
// block starts as zeros and holds the data of the last write.
struct boot_loader {
    explicit boot_loader(writer_link& link) : link(link) {}
    writer_link& link;
    uint8_t previous_block[kFlashBlockSize] = {};
};

// Erases size bytes from start; the answer is awaited but not examined.
void erase_flash(boot_loader& loader, int32_t start, int32_t size);
// Erases the whole application area.
void erase_application_area(boot_loader& loader);
// Writes count (at most 16) bytes at address. True when the answer came in
// time and, unless mode is first, echoes the previous block. The data then
// becomes the previous block in every case.
bool write_flash_block(boot_loader& loader, int32_t address, int count, const uint8_t* data, flash_write_mode mode);
