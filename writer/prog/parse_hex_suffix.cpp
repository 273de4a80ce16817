#include "parse_hex_suffix.h"

#include "parse_hex.h"

bool parse_hex_suffix(uint32_t& value, const char* text) {
    if (text == nullptr) return false;
    uint32_t number = 0;
    int digits = 0;
    for (const char* at = text; *at != '\0'; ++at) {
        if ((*at == 'H' || *at == 'h') && at[1] == '\0') break;
        const int digit = hex_digit(*at);
        if (digit < 0) return false;
        // Leading zeros cost nothing; an eighth significant digit is the last that fits.
        if (number > 0x0FFFFFFFu) return false;
        number = number * 16 + static_cast<uint32_t>(digit);
        ++digits;
    }
    if (digits == 0) return false;
    value = number;
    return true;
}
