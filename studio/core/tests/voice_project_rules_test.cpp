// Item ids, mute texts, refused paths, item lists and the clamps of the mode
// settings: the rules the compiler page's editor builds its rows with.
#include <gtest/gtest.h>

#include "group_item_list.h"
#include "mode_settings.h"
#include "sound_item_rules.h"

namespace {

TEST(ItemIds, CountOnFromTheRowAboveAndStopAtI9999) {
    EXPECT_EQ(next_item_id("I0000"), "I0001");
    EXPECT_EQ(next_item_id("I0009"), "I0010");
    EXPECT_EQ(next_item_id("I0999"), "I1000");
    EXPECT_EQ(next_item_id("I9998"), "I9999");
    EXPECT_EQ(next_item_id("I9999"), std::nullopt);
}

TEST(ItemIds, AMalformedIdGivesNoNumberAndNoNextId) {
    for (const char* bad : {"", "I", "I000", "I00001", "J0001", "I00a1", "I-001", "I 001", "File Path"}) {
        EXPECT_EQ(item_number(bad), std::nullopt) << bad;
        EXPECT_EQ(next_item_id(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(item_number("I0042"), 42);
}

TEST(MuteTexts, KeepTheTimeAsTypedAndReadItBack) {
    EXPECT_EQ(mute_name("007"), "Mute: 007 mS");
    EXPECT_EQ(mute_path("007"), "*Mute007");
    EXPECT_EQ(mute_time_text("Mute: 007 mS"), "007");
    EXPECT_EQ(mute_time_text(mute_name("60000")), "60000");
    EXPECT_EQ(mute_time_text("Mute:  mS"), "");
    EXPECT_EQ(mute_time_text("Mute"), "");
    EXPECT_EQ(mute_time_text(""), "");
}

TEST(MuteTexts, OnlyOneTo60000IsAccepted) {
    for (const char* good : {"1", "60000", "007", "250", "+5"}) EXPECT_TRUE(mute_time_accepted(good)) << good;
    for (const char* bad : {"0", "abc", "-5", "60001", "", " 7", "7 ", "1.5", "99999999999999999999"})
        EXPECT_FALSE(mute_time_accepted(bad)) << bad;
}

TEST(RefusedPaths, AQuoteOrALineBreakCannotBeCarried) {
    EXPECT_FALSE(path_refused("/home/me/sounds/a b.wav"));
    EXPECT_FALSE(path_refused("/home/me/it's <b>.wav"));
    EXPECT_TRUE(path_refused("/home/me/say \"hi\".wav"));
    EXPECT_TRUE(path_refused("/home/me/two\nlines.wav"));
    EXPECT_TRUE(path_refused("/home/me/cr\r.wav"));
}

TEST(ItemLists, EntriesAreWholeSixCharacterRuns) {
    EXPECT_EQ(item_entries(""), std::vector<std::string>{});
    EXPECT_EQ(item_entries("I00011I00020"), (std::vector<std::string>{"I00011", "I00020"}));
    EXPECT_EQ(item_entries("I00011I0002"), std::vector<std::string>{"I00011"});
}

TEST(ItemLists, RemovingAnIdTakesEveryEntryOfItWhateverItsFlag) {
    EXPECT_EQ(remove_item_id("I00031I00011I00030I00031", "I0003"), "I00011");
    EXPECT_EQ(remove_item_id("I00011I00021", "I0003"), "I00011I00021");
    // An id ending in the digits another id starts with is not cut across two entries.
    EXPECT_EQ(remove_item_id("I00111I00110", "I0011"), "");
    EXPECT_EQ(remove_item_id("I00011I00111", "I0001"), "I00111");
    EXPECT_EQ(remove_item_id("", "I0001"), "");
}

TEST(ItemLists, TogglingSwitchesTheFlagAndTwiceRestoresIt) {
    EXPECT_EQ(toggled_entry("I00011"), "I00010");
    EXPECT_EQ(toggled_entry("I00010"), "I00011");
    EXPECT_EQ(toggled_entry("I0001x"), "I00011");
    EXPECT_EQ(toggled_entry(toggled_entry("I00071")), "I00071");
    EXPECT_EQ(busy_text("I00010"), "Disable");
    EXPECT_EQ(busy_text("I00011"), "Enable");
    EXPECT_EQ(busy_text("I0001x"), "Enable");
}

TEST(GroupTable, HasThirteenRowsOrOneEmptyRowAfterTheEntries) {
    EXPECT_EQ(group_table_row_count(0), 13);
    EXPECT_EQ(group_table_row_count(11), 13);
    EXPECT_EQ(group_table_row_count(12), 14);
    EXPECT_EQ(group_table_row_count(13), 15);
}

TEST(GroupLabels, HaveThreeDigitsAndMoreFromOneThousand) {
    EXPECT_EQ(group_label(1), "Group: 001");
    EXPECT_EQ(group_label(64), "Group: 064");
    EXPECT_EQ(group_label(1000), "Group: 1000");
    EXPECT_EQ(group_label(9999), "Group: 9999");
}

TEST(ModeSettingsClamps, GroupsStayWithinOneTo9999AndHeaderRowsWithinZeroToOne) {
    EXPECT_EQ(group_count(9999), 9999);
    EXPECT_EQ(group_count(10000), 9999);
    EXPECT_EQ(group_count(2147483647), 9999);
    EXPECT_EQ(group_count(-2147483647 - 1), 1);
    EXPECT_EQ(io_fixed_rows(0), 0);
    EXPECT_EQ(io_fixed_rows(1), 1);
    EXPECT_EQ(io_fixed_rows(2), 1);
    EXPECT_EQ(io_fixed_rows(-1), 0);
}

}  // namespace
