// The two compressions of 8-bit samples. Each writes exactly
// encoded_size(kind, samples.size()) bytes to `out`.
#pragma once

#include <cstdint>
#include <span>

void encode_adpcm(std::span<const uint8_t> samples, uint8_t* out);
void encode_companded(std::span<const uint8_t> samples, uint8_t* out);
