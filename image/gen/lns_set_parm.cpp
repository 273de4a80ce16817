#include <cstring>

#include "lns_commands.h"
#include "lns_images.h"
#include "parse_hex.h"

int lns_set_parm(const char* value, int32_t base) {
    if (std::strncmp(value, "=\"[", 3) != 0) return -1;
    const char* equals = std::strstr(value + 3, "]=");
    if (!equals) return -1;
    const int32_t address = parse_hex(value + 3);
    const uint8_t byte = static_cast<uint8_t>(parse_hex(equals + 2));
    if (int64_t{base} + address < 0) return -1;  // before the start of the image

    lns.log.say("SetParameter               [%06x] = %02x with header offset %xh.\n", static_cast<unsigned>(address),
                byte, static_cast<unsigned>(base));
    const bool written = lns_change_images([&](FILE* image) {
        const long end = std::ftell(image);
        // Writing past the end extends the file.
        const bool ok = lns_seek_rom(image, base, address) && std::fputc(byte, image) != EOF &&
                        std::fflush(image) == 0;
        return std::fseek(image, end, SEEK_SET) == 0 && ok;
    });
    return written ? 0 : -1;
}
