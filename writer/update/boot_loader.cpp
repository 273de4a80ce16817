#include "boot_loader.h"

#include "writer_command.h"

#include <algorithm>
#include <cstring>

namespace {

void put_address(uint8_t* request, int32_t address) {
    for (int i = 0; i < 3; ++i) request[2 + i] = static_cast<uint8_t>(address >> (8 * i));
}

}  // namespace

void erase_flash(boot_loader& loader, int32_t start, int32_t size) {
    uint8_t request[kWriterPayloadSize] = {};
    request[0] = code_of(writer_command::boot_erase);
    request[1] = static_cast<uint8_t>(size / 1024);
    put_address(request, start);
    uint8_t answer[kWriterReportSize];
    loader.link.send_report(request);
    loader.link.receive_report(answer, kBootAnswerWaitMs);
}

void erase_application_area(boot_loader& loader) {
    for (const flash_region& region : kApplicationRegions) erase_flash(loader, region.start, region.size);
}

bool write_flash_block(boot_loader& loader, int32_t address, int count, const uint8_t* data, flash_write_mode mode) {
    count = std::clamp(count, 0, kFlashBlockSize);
    uint8_t request[kWriterPayloadSize] = {};
    request[0] = code_of(mode == flash_write_mode::final ? writer_command::boot_final_write
                                                          : writer_command::boot_write_block);
    request[1] = static_cast<uint8_t>(count);
    put_address(request, address);
    std::memcpy(request + kWriterDataOffset, data, static_cast<size_t>(count));

    uint8_t answer[kWriterReportSize] = {};
    loader.link.send_report(request);
    bool passed = loader.link.receive_report(answer, kBootAnswerWaitMs) > 0;
    if (passed && mode != flash_write_mode::first)
        passed = std::memcmp(answer + kWriterDataOffset, loader.previous_block, static_cast<size_t>(count)) == 0;
    std::memcpy(loader.previous_block, data, static_cast<size_t>(count));
    return passed;
}
