// Hexadecimal text with an optional H suffix ("1F", "1fh") to a number.
#pragma once

#include <cstdint>

// Reads digits 0-9, A-F, a-f, most significant first; a single H or h as the
// last character ends the text. False for any other character, for text
// without a digit and for a value beyond 32 bits; value is untouched then.
bool parse_hex_suffix(uint32_t& value, const char* text);
