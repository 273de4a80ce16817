// Helpers for commands that change the output image and its duplicate alike.
#pragma once

#include <cstdint>
#include <cstdio>

#include "lns_state.h"

// Runs `change` on the output and then on the duplicate, each when open, and
// stops at the first failure. Both images go through the same steps, so the
// duplicate stays byte-for-byte equal to the output.
template <typename Change>
bool lns_change_images(Change change) {
    for (FILE* image : {lns.output, lns.duplicate})
        if (image && !change(image)) return false;
    return true;
}

// Seeks to a file offset given as base + address; false for an offset before
// the start of the file, where nothing may be written.
inline bool lns_seek_rom(FILE* image, int32_t base, int32_t address) {
    const int64_t offset = int64_t{base} + address;
    return offset >= 0 && std::fseek(image, static_cast<long>(offset), SEEK_SET) == 0;
}
