#include "option_bytes.h"

namespace {

struct option_row {
    const char* output_type;
    int entry0;
    int entry1;
};

// Devices Y1, Y2, Y3 and Z4 set entry 0 only.
constexpr option_row kSetA[] = {
    {"COUT[DAC]", 0xCC, 0xFF},
    {"VOUT[PWM] - Level 1", 0x4C, 0xFF},
    {"VOUT[PWM] - Level 2", 0x2C, 0xFF},
    {"VOUT[PWM] - Level 3", 0x6C, 0xFF},
};

// Device Z6 sets entries 0 and 1.
constexpr option_row kSetB[] = {
    {"COUT[DAC]", 0x0C, 0x4C},
    {"VOUT[PWM] - Level 1", 0x08, 0xDE},
    {"VOUT[PWM] - Level 2", 0x08, 0x5E},
    {"VOUT[PWM] - Level 3", 0x08, 0x5D},
    {"VOUT[PWM] - Level 4", 0x08, 0x3D},
    {"VOUT[PWM] - Level 5", 0x08, 0x3C},
    {"VOUT[PWM] - Level 6", 0x08, 0x7C},
};

template <size_t N>
void apply(const option_row (&set)[N], const std::string& output_type, std::array<int, kOptionByteCount>& bytes) {
    for (const option_row& row : set) {
        if (output_type == row.output_type) {
            bytes[0] = row.entry0;
            bytes[1] = row.entry1;
            return;
        }
    }
}

}  // namespace

std::array<int, kOptionByteCount> build_option_bytes(const std::string& device_code, const std::string& output_type) {
    std::array<int, kOptionByteCount> bytes;
    bytes.fill(0xFF);
    if (device_code == "Y1" || device_code == "Y2" || device_code == "Y3" || device_code == "Z4") {
        apply(kSetA, output_type, bytes);
    } else if (device_code == "Z6") {
        apply(kSetB, output_type, bytes);
    }
    return bytes;
}
