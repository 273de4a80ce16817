// Hexadecimal text with an optional H suffix.
#include "parse_hex_suffix.h"

#include <gtest/gtest.h>

namespace {

uint32_t parsed(const char* text) {
    uint32_t value = 0xDEAD;
    EXPECT_TRUE(parse_hex_suffix(value, text)) << text;
    return value;
}

bool refused(const char* text) {
    uint32_t value = 0xDEAD;
    const bool ok = parse_hex_suffix(value, text);
    EXPECT_EQ(value, 0xDEADu) << text;  // untouched on refusal
    return !ok;
}

TEST(parse_hex_suffix, digits_of_both_cases_with_or_without_a_final_h) {
    EXPECT_EQ(parsed("0"), 0u);
    EXPECT_EQ(parsed("1F"), 0x1Fu);
    EXPECT_EQ(parsed("abCD"), 0xABCDu);
    EXPECT_EQ(parsed("7fffH"), 0x7FFFu);
    EXPECT_EQ(parsed("10h"), 0x10u);
    EXPECT_EQ(parsed("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(parsed("000000012345678h"), 0x12345678u);
}

TEST(parse_hex_suffix, any_other_character_or_misplaced_h_is_refused) {
    EXPECT_TRUE(refused("12G4"));
    EXPECT_TRUE(refused("0x10"));
    EXPECT_TRUE(refused(" 10"));
    EXPECT_TRUE(refused("10 h"));
    EXPECT_TRUE(refused("1H0"));
    EXPECT_TRUE(refused("10hh"));
    EXPECT_TRUE(refused("-1"));
}

TEST(parse_hex_suffix, no_digit_or_a_value_beyond_32_bits_is_refused) {
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("h"));
    EXPECT_TRUE(refused(nullptr));
    EXPECT_TRUE(refused("100000000"));
    EXPECT_TRUE(refused("123456789ABCDEFh"));
}

}  // namespace
