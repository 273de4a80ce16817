// The choice of the trim code, with a meter whose frequencies the test sets.
#include "frequency_trim.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Falls by 100 kHz per code from 14.0 MHz at code 38; single codes overridden.
struct fake_meter {
    std::map<int, int32_t> overrides;
    std::vector<int> measured;
    int32_t operator()(uint8_t code) {
        measured.push_back(code);
        const auto it = overrides.find(code);
        return it != overrides.end() ? it->second : 14000000 - (code - 38) * 100000;
    }
};

uint8_t choose(uint8_t target, fake_meter& meter) {
    return find_trim_code(target, [&meter](uint8_t code) { return meter(code); });
}

TEST(find_trim_code, finds_the_code_of_the_target) {
    fake_meter meter;
    EXPECT_EQ(choose(100, meter), 38 + 40);  // 10.0 MHz
    EXPECT_EQ(choose(140, meter), 38);
    EXPECT_EQ(choose(50, meter), 127);
    for (int code : meter.measured) {
        EXPECT_GE(code, 37);
        EXPECT_LE(code, 127);
    }
}

TEST(find_trim_code, targets_outside_5_to_14_mhz_are_not_supported) {
    fake_meter meter;
    EXPECT_EQ(choose(49, meter), kTargetNotSupported);
    EXPECT_EQ(choose(141, meter), kTargetNotSupported);
    EXPECT_TRUE(meter.measured.empty());
}

TEST(find_trim_code, ties_go_to_the_lower_neighbour_then_the_upper) {
    // Without overrides the search for 10.0 MHz ends at mid 78, which gives
    // it exactly; the overrides below keep the search ending at 78.
    fake_meter meter;
    const uint8_t code = choose(100, meter);  // reference run
    ASSERT_EQ(code, 78);

    // mid-1 and mid+1 equally far and not farther than mid: mid-1.
    fake_meter tie_outer;
    tie_outer.overrides = {{77, 10050000}, {79, 9950000}};
    tie_outer.overrides[78] = 10100000;
    EXPECT_EQ(choose(100, tie_outer), 77);

    // mid and mid+1 tie, mid-1 farther: mid+1.
    fake_meter tie_upper;
    tie_upper.overrides = {{77, 10300000}, {78, 10050000}, {79, 9950000}};
    EXPECT_EQ(choose(100, tie_upper), 79);
}

TEST(find_trim_code, a_meter_that_gives_0_counts_as_below_every_target) {
    fake_meter dead;
    for (int code = 0; code < 256; ++code) dead.overrides[code] = 0;
    EXPECT_EQ(choose(100, dead), 37);  // the search runs down to 38, the lower neighbour wins the tie
}

}  // namespace
