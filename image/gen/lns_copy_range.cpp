#include <cstring>

#include "lns_commands.h"
#include "lns_images.h"
#include "parse_hex.h"

namespace {

inline constexpr int64_t kLargestSpan = 0x400;  // end - start: at most 1025 bytes

// Finds `delimiter` from `from` on and reads the number after it; false when
// the delimiter is missing or nothing follows it.
bool next_number(const char*& from, char delimiter, int32_t& number) {
    const char* found = std::strchr(from, delimiter);
    if (!found || found[1] == '\0') return false;
    number = parse_hex(found + 1);
    from = found + 1;
    return true;
}

}  // namespace

int lns_copy_range(const char* value, int32_t base) {
    int32_t source_start, source_end, target_start, target_end;
    const char* at = value;
    if (!next_number(at, '[', source_start) || !next_number(at, ':', source_end) ||
        !next_number(at, '[', target_start) || !next_number(at, ':', target_end))
        return -1;
    const int64_t span = int64_t{source_end} - source_start;
    if (span < 0 || int64_t{target_end} - target_start != span || span > kLargestSpan) return -1;

    const size_t count = static_cast<size_t>(span) + 1;
    uint8_t bytes[kLargestSpan + 1];
    const bool copied = lns_change_images([&](FILE* image) {
        const long position = std::ftell(image);
        const bool ok = lns_seek_rom(image, base, source_start) && std::fread(bytes, 1, count, image) == count &&
                        lns_seek_rom(image, base, target_start) && std::fwrite(bytes, 1, count, image) == count &&
                        std::fflush(image) == 0;
        return std::fseek(image, position, SEEK_SET) == 0 && ok;
    });
    if (!copied) return -1;
    lns.log.say("Information Duplication    [%X:%X] -> [%X:%X] with header offset %xh.\n",
                static_cast<unsigned>(source_start), static_cast<unsigned>(source_end),
                static_cast<unsigned>(target_start), static_cast<unsigned>(target_end),
                static_cast<unsigned>(base));
    return 0;
}
