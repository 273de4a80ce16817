#include "parse_hex.h"

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int32_t parse_hex(const char* text) {
    uint32_t value = 0;
    for (; text && *text; ++text) {
        const int digit = hex_digit(*text);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(value);
}
