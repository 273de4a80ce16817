// Places an encoder script's groups, entries and sounds into voice data
// addressed from the script's offset, and encodes the sounds into it.
#pragma once

#include <cstdint>
#include <vector>

#include "tonepack_script.h"

// Bytes before the first sound: header, group table and entries.
uint64_t voice_tables_size(const encoder_script& script);

// The samples of each script sound (empty for a silence) are given in
// `samples`, in the script's order; the counts, rates and addresses must lie
// within the format's limits (the caller has checked them).
std::vector<uint8_t> build_voice_data(const encoder_script& script, const std::vector<std::vector<uint8_t>>& samples);
