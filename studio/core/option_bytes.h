// The 32 option bytes of a DAT image: the output type (DAC, or PWM at a level)
// in the form the chip's program reads it, stored by the image builder just
// below the voice data.
#pragma once

#include <array>
#include <string>

inline constexpr int kOptionByteCount = 32;

// Entries 0 and 1 by the device code and the exact output-type text; every
// other entry, and every entry for an unlisted device or text, is 0xFF.
std::array<int, kOptionByteCount> build_option_bytes(const std::string& device_code, const std::string& output_type);
