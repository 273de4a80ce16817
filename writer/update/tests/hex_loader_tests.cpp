#include <gtest/gtest.h>

#include "echo_writer.h"
#include "hex_loader.h"

#include <cstdio>
#include <string>

namespace {

std::vector<uint8_t> data_of(const std::array<uint8_t, 64>& report) {
    return std::vector<uint8_t>(report.begin() + 5, report.begin() + 21);
}

class HexLoader : public ::testing::Test {
protected:
    int load(const std::string& text) {
        std::FILE* file = std::tmpfile();
        std::fputs(text.c_str(), file);
        std::rewind(file);
        testing::internal::CaptureStdout();
        boot_loader loader(writer.link);
        const int result = load_hex_firmware(loader, file);
        output = testing::internal::GetCapturedStdout();
        std::fclose(file);
        // Past the six erase reports.
        reports.assign(writer.state->sent.begin() + std::min<size_t>(6, writer.state->sent.size()),
                       writer.state->sent.end());
        return result;
    }

    echo_link writer;
    std::string output;
    std::vector<std::array<uint8_t, 64>> reports;
};

TEST(HexDigitValue, DigitsAndLettersOfEitherCase) {
    EXPECT_EQ(hex_digit_value('0'), 0);
    EXPECT_EQ(hex_digit_value('9'), 9);
    EXPECT_EQ(hex_digit_value('A'), 10);
    EXPECT_EQ(hex_digit_value('f'), 15);
    EXPECT_EQ(hex_digit_value('Z'), 35);
    EXPECT_EQ(hex_digit_value('z'), 35);
    EXPECT_EQ(hex_digit_value(':'), 0);
    EXPECT_EQ(hex_digit_value('\n'), 0);
    EXPECT_EQ(hex_digit_value('\0'), 0);
}

TEST_F(HexLoader, RecordAcrossTwoBlocksIsWrittenAsBothWithBlankFill) {
    ASSERT_EQ(load(":0410000001020304F2\n"                            // below 0x2000: skipped
                   ":10200500000102030405060708090A0B0C0D0E0FFF\n"    // 16 bytes at 0x2005
                   ":00000001FF\n"),
              0);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0][0], 0x82);
    EXPECT_EQ(address_of(reports[0]), 0x2000);
    std::vector<uint8_t> first(16, 0xFF), second(16, 0xFF);
    for (int i = 0; i < 11; ++i) first[5 + i] = static_cast<uint8_t>(i);
    for (int i = 0; i < 5; ++i) second[i] = static_cast<uint8_t>(11 + i);
    EXPECT_EQ(data_of(reports[0]), first);
    EXPECT_EQ(address_of(reports[1]), 0x2010);
    EXPECT_EQ(data_of(reports[1]), second);
    // The final write repeats the first half of the last block; then the application starts.
    EXPECT_EQ(reports[2][0], 0x01);
    EXPECT_EQ(address_of(reports[2]), 0x2000);
    EXPECT_EQ(data_of(reports[2]), first);
    EXPECT_EQ(reports[3][0], 0xFA);
    EXPECT_EQ(output,
              "[00002000] ff ff ff ff ff 00 01 02 03 04 05 06 07 08 09 0a\n"
              "           0b 0c 0d 0e 0f ff ff ff ff ff ff ff ff ff ff ff\n");
}

TEST_F(HexLoader, OtherRecordsAreReportedAndSkipped) {
    ASSERT_EQ(load("garbage line\n"
                   ":02000004000AF0\n"                                 // linear address 0x000A...
                   ":02000004000000FA\n"                               // ... and back to 0
                   ":020010040001E9\n"                                 // address field not 0
                   ":0300000302030405\n"                               // start address: not handled
                   ":110000000102030405060708090A0B0C0D0E0F101100\n"   // more than 16 bytes
                   ":0100000000FF\n"),                                 // outside the application area
              0);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(output,
              "\n[001] Unknow Linear= 1\n"
              "\n[002] unknow record type (3).\n"
              "      :0300000302030405\n"
              "line 3 Too large record !!\n");
}

TEST_F(HexLoader, LinearAddressMovesRecordsOutOfTheApplicationArea) {
    ASSERT_EQ(load(":020000040001F9\n:10200000000102030405060708090A0B0C0D0E0F68\n"), 0);
    EXPECT_TRUE(reports.empty());
    // Nothing written: no final write and no restart.
    EXPECT_TRUE(output.empty());
}

TEST_F(HexLoader, NothingIsWrittenAtOrAboveTheApplicationEnd) {
    ASSERT_EQ(load(":107FF80000000000000000000102030405060708B1\n"   // second half would be 0x8000
                   ":0180000000FF\n"),                               // at 0x8000: skipped
              0);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(address_of(reports[0]), 0x7FF0);
    // The final write repeats the last block written, not the skipped one.
    EXPECT_EQ(reports[1][0], 0x01);
    EXPECT_EQ(address_of(reports[1]), 0x7FF0);
    EXPECT_EQ(reports[2][0], 0xFA);
}

TEST_F(HexLoader, FailedEchoFailsTheLoad) {
    writer.state->garbled.insert(6 + 1);
    EXPECT_EQ(load(":10200000000102030405060708090A0B0C0D0E0F68\n:10201000000102030405060708090A0B0C0D0E0F58\n"),
              -1);
    EXPECT_EQ(reports.size(), 4u);  // both blocks, the final write and the restart
}

}  // namespace
