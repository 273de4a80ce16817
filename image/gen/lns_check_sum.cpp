// CheckSum@: computes the image checksum and stores it in the checksum slot of
// the output image and its duplicate.
#include <strings.h>

#include <cstdint>

#include "image_checksum.h"
#include "image_header.h"
#include "lns_commands.h"
#include "lns_images.h"

namespace {

inline constexpr uint32_t kLargestRomFromLimit = 0x1000000;

// Reads the image's header record and computes its checksum. False when the
// image is no valid one: an unusable header record, or a system information
// shorter than 16 bytes, which has no room for the checksum slot, or one not
// wholly in the file. For the last, the sum counted the missing bytes as blank
// 0xFF, but storing the slot past the end would fill the gap with zeros and
// the image would not verify.
bool compute_checksum(FILE* image, image_header& header, checksum_result& checksum) {
    std::fflush(image);
    std::fseek(image, 0, SEEK_END);
    const long file_size = std::ftell(image);
    if (image_read_header(image, header) != 1 || !image_header_accepted(header)) return false;
    const int32_t base = header.header_offset;
    int64_t rom_size = lns.max_size <= kLargestRomFromLimit ? int64_t{lns.max_size} - base : file_size - base;
    if (rom_size > INT32_MAX) rom_size = INT32_MAX;  // past 0xFFFFFE the sum ends at the end of the file anyway
    return image_checksum(image, header, checksum, static_cast<int32_t>(rom_size)) == 1 &&
           file_size >= int64_t{base} + checksum.system_info_length;
}

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

    image_header header;
    checksum_result checksum;
    if (!compute_checksum(image, header, checksum)) {
        lns.log.say("Error QAV file !!\n\n");
        return -3;
    }
    lns.log.say("System Information CheckSum     = %4X (Hex).\n", checksum.checksum);

    const long slot = header.header_offset + checksum.system_info_length - 2;
    const bool stored = lns_change_images([&](FILE* img) { return store_checksum(img, slot, checksum.checksum); });
    return stored ? 0 : -3;
}
