// CheckSum@: computes the image checksum and stores it in the checksum slot of
// the output image and its duplicate.
#include <strings.h>

#include <cstdint>

#include "lns_commands.h"

namespace {

inline constexpr uint32_t kLargestRomFromLimit = 0x1000000;

// Writes the checksum little-endian at file offset `at` and leaves the image
// at its end.
bool store_checksum(FILE* image, long at, uint16_t checksum) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(checksum), static_cast<uint8_t>(checksum >> 8)};
    const bool ok = std::fseek(image, at, SEEK_SET) == 0 && std::fwrite(bytes, 1, 2, image) == 2 &&
                    std::fflush(image) == 0;
    return std::fseek(image, 0, SEEK_END) == 0 && ok;
}

}  // namespace

int lns_check_sum(const char* value) {
    if (::strcasecmp(value, "=\"Generate\"") != 0) return -1;
    FILE* image = lns.output ? lns.output : lns.duplicate;
    if (!image) return -2;

    std::fflush(image);
    std::fseek(image, 0, SEEK_END);
    const long file_size = std::ftell(image);
    if (image_read_header(image, lns.header) != 1 || !image_header_accepted(lns.header)) {
        lns.log.say("Error QAV file !!\n\n");
        return -3;
    }
    const int32_t base = lns.header.header_offset;
    int64_t rom_size = lns.max_size <= kLargestRomFromLimit ? int64_t{lns.max_size} - base : file_size - base;
    if (rom_size > INT32_MAX) rom_size = INT32_MAX;  // past 0xFFFFFE the sum ends at the end of the file anyway
    // A system information shorter than 16 bytes has no room for the
    // checksum slot: no valid image.
    if (image_checksum(image, lns.header, lns.checksum, static_cast<int32_t>(rom_size)) != 1) {
        lns.log.say("Error QAV file !!\n\n");
        return -3;
    }
    // The slot lies in the system information. Where that is not wholly in
    // the file, the sum counted its missing bytes as blank 0xFF, but storing
    // the slot past the end would fill the gap with zeros: the image would
    // not verify, so it is refused instead.
    if (file_size < int64_t{base} + lns.checksum.system_info_length) {
        lns.log.say("Error QAV file !!\n\n");
        return -3;
    }
    lns.log.say("System Information CheckSum     = %4X (Hex).\n", lns.checksum.checksum);

    const long slot = base + lns.checksum.system_info_length - 2;
    bool stored = true;
    for (FILE* img : {lns.output, lns.duplicate})
        if (img && !store_checksum(img, slot, lns.checksum.checksum)) stored = false;
    return stored ? 0 : -3;
}
