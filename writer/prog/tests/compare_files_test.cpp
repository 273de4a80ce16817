// Comparison of two files over a range of offsets, and its log.
#include "compare_files.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

class compare_files_test : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test_folder();
        log = std::tmpfile();
        ASSERT_NE(log, nullptr);
    }
    void TearDown() override {
        if (log != nullptr) std::fclose(log);
        std::filesystem::remove_all(folder);
    }
    std::string save(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = folder + "/" + name;
        write_file(path, bytes);
        return path;
    }
    std::string logged() {
        std::rewind(log);
        std::string text;
        for (int c; (c = std::fgetc(log)) != EOF;) text += static_cast<char>(c);
        return text;
    }
    static std::vector<uint8_t> counting(size_t size) {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 1);
        return bytes;
    }

    std::string folder;
    FILE* log = nullptr;
    float ratio = -1;
};

TEST_F(compare_files_test, equal_files_pass_fully_across_block_bounds) {
    const std::vector<uint8_t> bytes = counting(5000);
    const std::string a = save("a.bin", bytes);
    const std::string b = save("b.bin", bytes);
    EXPECT_TRUE(compare_files(a, b, 0, 4999, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 100.0f);
    EXPECT_TRUE(compare_files(a, b, 1000, 3100, log, ratio));
    EXPECT_EQ(logged(), "");
}

TEST_F(compare_files_test, the_first_24_differences_are_logged_then_one_line_at_the_25th) {
    const std::vector<uint8_t> first = counting(4096);
    std::vector<uint8_t> second = first;
    for (int k = 0; k < 40; ++k) second[static_cast<size_t>(100 * k + 50)] ^= 0x0F;
    const std::string a = save("a.bin", first);
    const std::string b = save("b.bin", second);
    EXPECT_FALSE(compare_files(a, b, 0, 3999, log, ratio));
    EXPECT_FLOAT_EQ(ratio, (4000 - 40) * 100.0f / 4000);

    const std::string text = logged();
    char line[64];
    std::snprintf(line, sizeof line, "Error #01 at 000032 [%02X] --> [%02X].\n", first[50], second[50]);
    EXPECT_EQ(text.rfind(line, 0), 0u) << text;
    std::snprintf(line, sizeof line, "Error #24 at 00092E [%02X] --> [%02X].\n", first[2350], second[2350]);
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find("Error #25"), std::string::npos);
    const std::string stop = "\nThere are more than 25 errors .... (Stoping log).\n";
    EXPECT_EQ(text.substr(text.size() - stop.size()), stop);
}

TEST_F(compare_files_test, offsets_in_the_log_are_file_offsets) {
    std::vector<uint8_t> second(0x2000, 0xFF);
    second[0x1234] = 0x00;
    EXPECT_FALSE(compare_files(std::nullopt, save("b.bin", second), 0x1000, 0x1FFF, log, ratio));
    EXPECT_EQ(logged(), "Error #01 at 001234 [FF] --> [00].\n");
    EXPECT_FLOAT_EQ(ratio, (4096 - 1) * 100.0f / 4096);
}

TEST_F(compare_files_test, without_a_first_file_the_second_is_compared_against_blank) {
    const std::string blank = save("blank.bin", std::vector<uint8_t>(3000, 0xFF));
    EXPECT_TRUE(compare_files(std::nullopt, blank, 0, 2999, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 100.0f);
}

TEST_F(compare_files_test, bytes_a_file_does_not_hold_count_as_errors_without_a_line) {
    const std::vector<uint8_t> bytes = counting(3000);
    const std::string whole = save("whole.bin", bytes);
    const std::string short_one = save("short.bin", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2500));
    EXPECT_FALSE(compare_files(whole, short_one, 0, 2999, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 2500 * 100.0f / 3000);
    EXPECT_FALSE(compare_files(short_one, whole, 2000, 2999, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 50.0f);
    // A range wholly beyond the end: every byte is an error.
    EXPECT_FALSE(compare_files(whole, short_one, 2600, 2699, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 0.0f);
    EXPECT_EQ(logged(), "");
}

TEST_F(compare_files_test, a_file_that_cannot_be_opened_is_logged) {
    const std::string present = save("present.bin", counting(10));
    const std::string missing = folder + "/missing.bin";
    EXPECT_FALSE(compare_files(missing, present, 0, 9, log, ratio));
    EXPECT_FALSE(compare_files(present, missing, 0, 9, log, ratio));
    EXPECT_FALSE(compare_files(std::nullopt, missing, 0, 9, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 0.0f);
    EXPECT_EQ(logged(), "File open error for compare.\n\nFile open error for compare.\n\n"
                        "File open error for compare.\n\n");
}

TEST_F(compare_files_test, a_reversed_range_compares_nothing_and_fails) {
    const std::string a = save("a.bin", counting(10));
    EXPECT_FALSE(compare_files(a, a, 5, 4, log, ratio));
    EXPECT_FLOAT_EQ(ratio, 0.0f);
    EXPECT_FALSE(compare_files(a, a, -1, 4, nullptr, ratio));
}

}  // namespace
