// Decimal numbers typed or stored as text in the project's grids (mute times,
// size cells). One reader, so that the mute editor and the files written from
// a project read the same number from the same text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// An optional sign and decimal digits, the whole text, within 64 bits; else
// nothing. Leading zeros are allowed ("007" is 7).
std::optional<int64_t> parse_decimal(const std::string& text);
