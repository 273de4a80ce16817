#pragma once

#include <cstdint>

// Value of the leading hexadecimal digits of a text (32-bit, wrapping); 0 when
// the text is empty or does not begin with a hexadecimal digit.
int32_t parse_hex(const char* text);

// Value of one hexadecimal digit character, or -1 for any other character.
int hex_digit(char c);
