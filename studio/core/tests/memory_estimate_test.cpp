#include "memory_estimate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "device_vocabulary.h"
#include "ini_file.h"
#include "mode_settings.h"
#include "pipeline_files.h"
#include "test_files.h"

namespace {

constexpr int64_t kMost = std::numeric_limits<int64_t>::max();

// The file list as the grid holds it: 22 empty rows after the items.
std::vector<std::string> file_list_sizes(std::vector<std::string> sizes) {
    sizes.resize(sizes.size() + 22);
    return sizes;
}

TEST(EstimateOffset, TheTextIsHexadecimalElse0x600) {
    EXPECT_EQ(estimate_offset("600"), 1536);
    EXPECT_EQ(estimate_offset("1000"), 4096);
    EXPECT_EQ(estimate_offset("fFf"), 4095);
    EXPECT_EQ(estimate_offset("0"), 0);
    EXPECT_EQ(estimate_offset("xyz"), 1536);
    EXPECT_EQ(estimate_offset("600h"), 1536);
    EXPECT_EQ(estimate_offset("0x600"), 1536);
    EXPECT_EQ(estimate_offset("-5"), 1536);
    EXPECT_EQ(estimate_offset(""), 1536);
}

TEST(EstimateOffset, LargeOffsetsNeverTurnNegativeOrSmall) {
    EXPECT_EQ(estimate_offset("FFFFFFF0"), 4294967280);
    EXPECT_EQ(estimate_offset("7FFFFFFFFFFFFFFF"), kMost);
    EXPECT_EQ(estimate_offset("10000000000000000"), kMost);
    EXPECT_EQ(estimate_offset(std::string(40, 'F')), kMost);
}

TEST(EstimateOffset, ReadFromTheModeFileWith600AsDefault) {
    const std::string program = test_folder() + "/";
    const std::string path = mode_settings_path(program, mode_key("Y1", "2"));
    EXPECT_EQ(path, program + "bin/1x2/1x2.ini");
    // The compile reads the same file as the estimate.
    EXPECT_EQ(program + mode_settings_file("Y1", "2"), path);
    EXPECT_EQ(estimate_offset_text(ini_file(path)), "600");
    std::filesystem::create_directories(program + "bin/1x2");
    write_text(path, "[Global]\nOffset=1000\nMaxSec=4\n");
    EXPECT_EQ(estimate_offset_text(ini_file(path)), "1000");
    // With no trigger mode the key has two characters and no file is found.
    EXPECT_EQ(estimate_offset_text(ini_file(mode_settings_path(program, mode_key("Y1", "")))), "600");
}

TEST(EstimateBytes, OffsetHeaderSizesAndGroups) {
    // One empty group, no files: 1536 + 48 + 4 + 8.
    EXPECT_EQ(estimate_bytes({"600", file_list_sizes({}), {""}}), 1596);
    // A group of three entries adds 4 + 24.
    EXPECT_EQ(estimate_bytes({"600", {}, {"I00011I00020I00031"}}), 1536 + 48 + 28);
    // Only whole entries count; a broken list that is not empty counts none.
    EXPECT_EQ(estimate_bytes({"600", {}, {"I00011I0002"}}), 1536 + 48 + 4 + 8);
    EXPECT_EQ(estimate_bytes({"600", {}, {"I0001"}}), 1536 + 48 + 4);
    EXPECT_EQ(estimate_bytes({"1000", file_list_sizes({"100", "52", "0"}), {"", "I00011", ""}}),
              4096 + 48 + 152 + 12 + 8 + 8 + 8);
    EXPECT_EQ(estimate_bytes({"zz", {}, {}}), 1536 + 48);
}

TEST(EstimateBytes, CellsThatAreNoPositiveNumberAddNothing) {
    EXPECT_EQ(estimate_bytes({"0", {"abc", "", "12abc", " 7", "-500", "+20", "007"}, {}}), 48 + 20 + 7);
}

TEST(EstimateBytes, HugeSizesSaturateInsteadOfWrapping) {
    EXPECT_EQ(estimate_bytes({"600", {"9223372036854775807", "1"}, {""}}), kMost);
    EXPECT_EQ(estimate_bytes({"FFFFFFFFFFFFFFFF", {"100"}, {}}), kMost);
    EXPECT_EQ(estimate_bytes({"600", {"4294967280", "4294967280"}, {}}), 1536 + 48 + 8589934560);
}

TEST(MemoryUsage, CompileNeedsSixteenBytesToSpare) {
    const memory_usage example = evaluate_memory_usage(1596, 32768);
    EXPECT_EQ(example.bytes, 1596);
    EXPECT_EQ(example.percent, 4);
    EXPECT_TRUE(example.fits);
    EXPECT_EQ(memory_usage_text(example.percent), "Memory Usage: 4%");

    EXPECT_FALSE(evaluate_memory_usage(1596, 1596 + 16).fits);
    EXPECT_TRUE(evaluate_memory_usage(1596, 1596 + 17).fits);
    EXPECT_FALSE(evaluate_memory_usage(40000, 32768).fits);
    EXPECT_EQ(evaluate_memory_usage(40000, 32768).percent, 122);
}

TEST(MemoryUsage, PercentagesBeyondThirtyTwoBitsAreExact) {
    // The maximum before any device set it: l * 100.
    EXPECT_EQ(evaluate_memory_usage(1596, 1).percent, 159600);
    EXPECT_FALSE(evaluate_memory_usage(1596, 1).fits);
    EXPECT_EQ(evaluate_memory_usage(21474837, 1).percent, 2147483700);
    EXPECT_EQ(evaluate_memory_usage(8589936144, 32768).percent, 26214404);
    EXPECT_EQ(evaluate_memory_usage(kMost, 1).percent, kMost);
    EXPECT_EQ(evaluate_memory_usage(kMost, kMost).percent, 100);
    EXPECT_FALSE(evaluate_memory_usage(kMost, kMost).fits);
}

TEST(MemoryUsage, NoMaximumMeansNoRoom) {
    EXPECT_EQ(evaluate_memory_usage(1596, 0).percent, 0);
    EXPECT_FALSE(evaluate_memory_usage(1596, 0).fits);
    EXPECT_FALSE(evaluate_memory_usage(0, -5).fits);
}

TEST(GaugeMaximum, ASizeOfZeroOrBelowKeepsTheOneBefore) {
    EXPECT_EQ(gauge_maximum(1, 32768), 32768);
    EXPECT_EQ(gauge_maximum(32768, 0), 32768);
    EXPECT_EQ(gauge_maximum(1, 0), 1);
    EXPECT_EQ(gauge_maximum(65536, -1), 65536);
}

TEST(ModeSettings, MissingKeysGiveOneHeaderRowOneGroupAndEmptyCells) {
    const std::string path = test_folder() + "/1x1.ini";
    write_text(path, "[Global]\nMaxSec=8\n");
    const mode_settings settings = read_mode_settings(ini_file(path));
    EXPECT_EQ(settings.fixed, 1);
    EXPECT_EQ(settings.max_sec, 8);
    for (const auto& row : settings.cells) {
        for (const std::string& cell : row) EXPECT_EQ(cell, "");
    }
    const mode_settings none = read_mode_settings(ini_file(test_folder() + "/none.ini"));
    EXPECT_EQ(none.fixed, 1);
    EXPECT_EQ(none.max_sec, 1);
}

TEST(ModeSettings, CellsAreReadRowByRowWithTwoDigitKeys) {
    const std::string path = test_folder() + "/6x8.ini";
    std::string text = "[Global]\nFixed=0\nMaxSec=0x10\n[Line1]\n";
    for (int c = 0; c <= 10; ++c)
        text += "Cell" + std::string(c < 10 ? "0" : "") + std::to_string(c) + "=B" + std::to_string(c) + "\n";
    text += "[Line0]\nCell00=Pin\nCell10=Last\nCell1=ignored\n";
    write_text(path, text);
    const mode_settings settings = read_mode_settings(ini_file(path));
    EXPECT_EQ(settings.fixed, 0);
    EXPECT_EQ(settings.max_sec, 16);
    EXPECT_EQ(settings.cells[0][0], "Pin");
    EXPECT_EQ(settings.cells[0][1], "");
    EXPECT_EQ(settings.cells[0][10], "Last");
    EXPECT_EQ(settings.cells[1][0], "B0");
    EXPECT_EQ(settings.cells[1][9], "B9");
    EXPECT_EQ(settings.cells[1][10], "B10");
}

TEST(ModeSettings, ThereIsAlwaysAtLeastOneGroup) {
    EXPECT_EQ(group_count(0), 1);
    EXPECT_EQ(group_count(-3), 1);
    EXPECT_EQ(group_count(1000), 1000);
    EXPECT_EQ(mode_settings_path("/opt/kova/", "6x8"), "/opt/kova/bin/6x8/6x8.ini");
}

}  // namespace
