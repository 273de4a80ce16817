#include <cstring>

#include "lns_commands.h"
#include "parse_hex.h"

int lns_rom_size(const char* value) {
    const size_t length = std::strlen(value);
    if (length < 3 || value[0] != '=' || value[1] != '"' || value[length - 1] != '"') return -1;
    lns.max_size = 0;
    for (size_t i = 2; i + 1 < length; ++i) {
        const int digit = hex_digit(value[i]);
        if (digit < 0) {
            lns.max_size = kLnsNoLimit;  // a bad number leaves no limit behind
            return -1;
        }
        lns.max_size = lns.max_size * 16 + static_cast<uint32_t>(digit);
    }
    lns.log.say("Setting Variable RomSize = %X (Hex)\n", lns.max_size);
    return 0;
}
