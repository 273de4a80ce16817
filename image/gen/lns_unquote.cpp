#include <cstring>

#include "lns_commands.h"

bool lns_unquote(const char* value, char (&out)[kLnsValueSize]) {
    const size_t length = std::strlen(value);
    if (std::strcmp(value, "=\"\"") == 0) return false;  // an empty name
    if (length < 3 || value[0] != '=' || value[1] != '"' || value[length - 1] != '"') return false;
    const size_t text_length = length - 3;
    if (text_length >= sizeof out) return false;  // refused rather than cut short
    std::memcpy(out, value + 2, text_length);
    out[text_length] = '\0';
    return true;
}
