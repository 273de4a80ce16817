#include "option_bytes.h"

#include <gtest/gtest.h>

namespace {

// 32 entries: the two given, then 0xFF.
std::array<int, 32> entries(int entry0, int entry1 = 0xFF) {
    std::array<int, 32> bytes;
    bytes.fill(0xFF);
    bytes[0] = entry0;
    bytes[1] = entry1;
    return bytes;
}

const std::array<int, 32> kAllFF = entries(0xFF);

TEST(OptionBytes, TheThreeKSeriesAndZ4SetEntryZeroForDacAndThreePwmLevels) {
    for (const std::string code : {"Y1", "Y2", "Y3", "Z4"}) {
        EXPECT_EQ(build_option_bytes(code, "COUT[DAC]"), entries(0xCC)) << code;
        EXPECT_EQ(build_option_bytes(code, "VOUT[PWM] - Level 1"), entries(0x4C)) << code;
        EXPECT_EQ(build_option_bytes(code, "VOUT[PWM] - Level 2"), entries(0x2C)) << code;
        EXPECT_EQ(build_option_bytes(code, "VOUT[PWM] - Level 3"), entries(0x6C)) << code;
        EXPECT_EQ(build_option_bytes(code, "VOUT[PWM] - Level 4"), kAllFF) << code;
    }
}

TEST(OptionBytes, Z6SetsEntriesZeroAndOne) {
    EXPECT_EQ(build_option_bytes("Z6", "COUT[DAC]"), entries(0x0C, 0x4C));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 1"), entries(0x08, 0xDE));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 2"), entries(0x08, 0x5E));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 3"), entries(0x08, 0x5D));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 4"), entries(0x08, 0x3D));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 5"), entries(0x08, 0x3C));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 6"), entries(0x08, 0x7C));
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 7"), kAllFF);
}

TEST(OptionBytes, OtherDevicesAndTextsThatDifferInCaseOrSpacingKeepEveryEntry) {
    for (const std::string code : {"Z1", "Z2", "Z3", "Z5", "Y0", "Z9", "", "y1", "z6"}) {
        EXPECT_EQ(build_option_bytes(code, "COUT[DAC]"), kAllFF) << code;
        EXPECT_EQ(build_option_bytes(code, "VOUT[PWM] - Level 1"), kAllFF) << code;
    }
    EXPECT_EQ(build_option_bytes("Y2", "cout[dac]"), kAllFF);
    EXPECT_EQ(build_option_bytes("Y2", "VOUT[PWM] -  Level 1"), kAllFF);
    EXPECT_EQ(build_option_bytes("Z6", "VOUT[PWM] - Level 6 "), kAllFF);
    EXPECT_EQ(build_option_bytes("Z6", ""), kAllFF);
}

}  // namespace
