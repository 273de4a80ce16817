// The chip tables of both builds.
#include "writer_chip_table.h"
#include "writer_series.h"

#include <gtest/gtest.h>

namespace {

TEST(chip_table, the_names_the_studio_passes_select_their_own_model) {
    const chip_tables& k3 = series_3k().chips;
    EXPECT_EQ(entry_of_id(k3, alias_id(k3, "KOVA3K10"))->last_address, 0x7FFF);
    EXPECT_EQ(entry_of_id(k3, alias_id(k3, "KOVA3K21"))->last_address, 0xFFFF);
    EXPECT_EQ(entry_of_id(k3, alias_id(k3, "KOVA3K42"))->last_address, 0x1FFFF);
    const chip_tables& other = series_other().chips;
    const std::pair<const char*, int32_t> names[] = {
        {"KOVA10", 0x7FFF}, {"KOVA21", 0xFFFF}, {"KOVA42", 0x1FFFF}, {"KOVA85", 0x3FFFF}, {"KOVA341", 0xFFFFF}};
    for (const auto& [name, last] : names) EXPECT_EQ(entry_of_id(other, alias_id(other, name))->last_address, last);
}

TEST(chip_table, a_name_matches_the_first_row_it_starts_with) {
    const chip_tables& k3 = series_3k().chips;
    EXPECT_EQ(alias_id(k3, "kova3k100"), 0xF9);
    EXPECT_EQ(alias_id(k3, "Kova3k1"), kNoModelId);
    EXPECT_EQ(alias_id(k3, "KOVA10"), kNoModelId);
    EXPECT_EQ(entry_of_id(k3, kNoModelId), nullptr);
    EXPECT_EQ(entry_of_id(k3, 0x8C), nullptr);  // the other series' id
}

TEST(chip_table, find_chip_cuts_the_range_to_the_chip) {
    const chip_tables& other = series_other().chips;
    chip_choice choice;
    int32_t end = 0xFFFFF;
    ASSERT_TRUE(find_chip(other, choice, "kqv0010", 0, end));
    EXPECT_EQ(end, 0x7FFF);
    EXPECT_EQ(choice.chip_id, 0x81);
    EXPECT_EQ(choice.chip_size, 0x8000);
    EXPECT_EQ(choice.display_name, "   KOVA1004   ");
    end = 0xFFFFF;
    EXPECT_FALSE(find_chip(other, choice, "KQV0010", 0x8000, end));
    EXPECT_FALSE(find_chip(other, choice, "unknown", 0, end));

    const chip_entry& largest = default_entry(series_3k().chips);
    EXPECT_EQ(largest.chip_id, 0xF6);
    EXPECT_EQ(largest.last_address, 0xFFFFF);
}

}  // namespace
