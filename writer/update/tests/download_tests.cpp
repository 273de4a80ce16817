#include <gtest/gtest.h>

#include "built_in_firmware.h"
#include "download.h"
#include "echo_writer.h"
#include "firmware_layout.h"
#include "image_cipher.h"

#include <cstring>
#include <string>

namespace {

class Download : public ::testing::Test {
protected:
    void SetUp() override { image_cipher_init(); }

    int run() {
        testing::internal::CaptureStdout();
        boot_loader loader(writer.link);
        const int result = download_firmware(loader, built_in_firmware);
        output = testing::internal::GetCapturedStdout();
        return result;
    }

    echo_link writer;
    std::string output;
};

TEST_F(Download, ErasesTheApplicationAreaThenWritesEveryRecord) {
    std::vector<uint8_t> stored(built_in_firmware, built_in_firmware + kFirmwareSize);
    ASSERT_EQ(run(), 0);
    const auto& sent = writer.state->sent;
    ASSERT_EQ(sent.size(), 6u + 1536u);
    const int32_t starts[] = {0x2000, 0x3000, 0x4000, 0x5000, 0x6000, 0x7000};
    const uint8_t sizes[] = {4, 4, 4, 4, 4, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sent[i][0], 0x83);
        EXPECT_EQ(sent[i][1], sizes[i]);
        EXPECT_EQ(address_of(sent[i]), starts[i]);
    }
    std::vector<uint8_t> written;
    for (size_t i = 6; i < sent.size(); ++i) {
        const int32_t r = static_cast<int32_t>(i - 6) * 16;
        ASSERT_EQ(sent[i][0], 0x82) << r;
        ASSERT_EQ(sent[i][1], 16) << r;
        ASSERT_EQ(address_of(sent[i]), 0x2000 + r);
        written.insert(written.end(), sent[i].begin() + 5, sent[i].begin() + 21);
    }
    EXPECT_EQ(written, make_plain_firmware(1, 8));
    EXPECT_EQ(output, "     Updating[" + std::string(48, '.') + "]\n");
    // The stored image is deciphered from scratch copies only.
    EXPECT_EQ(std::memcmp(stored.data(), built_in_firmware, kFirmwareSize), 0);
}

TEST_F(Download, RecordSixteenMustEchoRecordZero) {
    writer.state->garbled.insert(6 + 1);  // the answer to record 16, at 0x2010
    EXPECT_EQ(run(), -1);
    // The download still runs to its end.
    EXPECT_EQ(writer.state->sent.size(), 6u + 1536u);
    EXPECT_EQ(address_of(writer.state->sent[7]), 0x2010);
    EXPECT_EQ(output, "     Updating[" + std::string(48, '.') + "]\n");
}

TEST_F(Download, FirstRecordsOutcomeDoesNotCount) {
    writer.state->unanswered.insert(6);
    EXPECT_EQ(run(), 0);
}

TEST_F(Download, LastRecordMustBeAnswered) {
    writer.state->unanswered.insert(6 + 1535);
    EXPECT_EQ(run(), -1);
}

TEST(FlashBlock, PreviousBlockFollowsEveryWrite) {
    echo_link writer;
    boot_loader loader(writer.link);
    const uint8_t a[16] = {1, 2, 3}, b[16] = {4, 5, 6};
    EXPECT_TRUE(write_flash_block(loader, 0x2000, 16, a, flash_write_mode::first));
    EXPECT_EQ(std::memcmp(loader.previous_block, a, 16), 0);
    writer.state->garbled.insert(1);
    EXPECT_FALSE(write_flash_block(loader, 0x2010, 16, b, flash_write_mode::checked));
    EXPECT_EQ(std::memcmp(loader.previous_block, b, 16), 0);
    EXPECT_TRUE(write_flash_block(loader, 0x2010, 16, a, flash_write_mode::final));
    EXPECT_EQ(writer.state->sent[2][0], 0x01);
}

}  // namespace
