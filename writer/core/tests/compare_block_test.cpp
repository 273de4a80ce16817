// The block comparison's mode bits, the pass ratio and the progress line.
#include "address_counter.h"
#include "block_compare.h"
#include "image_cipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr uint16_t kL = 16;

// An image file whose ROM part is the given bytes, plainly stored.
class image_file {
public:
    explicit image_file(const std::vector<uint8_t>& rom) {
        file_ = std::tmpfile();
        uint8_t record[kImageHeaderSize] = {'K', 'O', 'V', 'A', 0, 0, kImageHeaderSize, 0};
        std::fwrite(record, 1, sizeof record, file_);
        std::fwrite(rom.data(), 1, rom.size(), file_);
        input.file = file_;
        input.header = image_header_decode(record);
    }
    ~image_file() { std::fclose(file_); }
    compare_state state(int32_t position, uint8_t mode) {
        std::fseek(file_, kImageHeaderSize + position, SEEK_SET);
        return compare_state{&input, position, 0, mode, kL};
    }
    image_input input;

private:
    FILE* file_;
};

TEST(compare_block, a_blank_check_counts_every_byte_but_0xff) {
    std::vector<uint8_t> chip(16, 0xFF);
    chip[2] = 0x00;
    for (int a = 6; a <= 9; ++a) chip[a] = 0x12;
    compare_state strict{nullptr, 0, 0, 0, kL};
    EXPECT_TRUE(compare_block(chip.data(), 16, strict));
    EXPECT_EQ(strict.errors, 5);
    compare_state skipping{nullptr, 0, 0, kSkipProtectBytes, kL};
    EXPECT_TRUE(compare_block(chip.data(), 16, skipping));
    EXPECT_EQ(skipping.errors, 1);  // L-10 to L-7 are left out
}

TEST(compare_block, mode_bits_leave_out_or_check_the_system_information_bytes) {
    std::vector<uint8_t> rom(48);
    for (size_t i = 0; i < rom.size(); ++i) rom[i] = static_cast<uint8_t>(i);
    image_file image(rom);
    struct {
        uint8_t mode;
        int32_t address;
        uint8_t chip_value;
        int errors;
    } cases[] = {
        {0, 6, 0x77, 1},
        {kSkipProtectBytes, 6, 0x77, 0},
        {kSkipProtectBytes, 7, 0x77, 0},
        {kSkipTrimCode, 5, 0x77, 0},
        {kSkipTrimCode, 4, 0x77, 1},
        {kMarkOrBlank, 8, 0x5A, 0},
        {kMarkOrBlank, 8, 0xFF, 0},
        {kMarkOrBlank, 8, 0x08, 1},  // fails the mark, matches the image
        {kMarkOrBlank, 8, 0x12, 2},  // fails the mark and the image
        {kMarkOnly, 8, 0x5A, 0},
        {kMarkOnly, 8, 0xFF, 2},
        {kMarkOnly | kMarkOrBlank, 8, 0xFF, 1},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> chip = rom;
        chip[static_cast<size_t>(c.address)] = c.chip_value;
        compare_state state = image.state(0, c.mode);
        EXPECT_TRUE(compare_block(chip.data(), 48, state));
        EXPECT_EQ(state.errors, c.errors) << "mode " << int(c.mode) << " address " << c.address;
    }
}

TEST(compare_block, an_image_out_of_step_or_too_short_is_not_compared) {
    std::vector<uint8_t> rom(20, 0xFF);
    image_file image(rom);
    compare_state shifted = image.state(4, 0);
    shifted.position = 8;
    EXPECT_FALSE(compare_block(rom.data(), 4, shifted));
    compare_state past_end = image.state(16, 0);
    EXPECT_FALSE(compare_block(rom.data(), 8, past_end));
}

// An image whose enciphered range [4, 60) does not start on a multiple of 8:
// 48-byte blocks end and begin inside enciphered blocks.
TEST(compare_block, an_enciphered_range_off_the_block_grid_is_compared_in_full) {
    constexpr int32_t kStart = 4, kEnd = 60;
    std::vector<uint8_t> plain(100);
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + 1);
    std::vector<uint8_t> stored = plain;
    image_cipher_init();
    for (int32_t a = kStart; a < kEnd; a += kCipherBlock) image_encrypt_block(&plain[a], &stored[a], a + 8);
    image_file image(stored);
    image.input.header.cipher_start = kStart;
    image.input.header.cipher_end = kEnd;

    compare_state state = image.state(0, 0);
    ASSERT_TRUE(compare_block(plain.data(), 48, state));
    state.position += 48;
    ASSERT_TRUE(compare_block(plain.data() + 48, 48, state));
    state.position += 48;
    ASSERT_TRUE(compare_block(plain.data() + 96, 4, state));
    EXPECT_EQ(state.errors, 0);

    // A read may also start inside a block and end inside the next.
    uint8_t bytes[6];
    int32_t position = -1;
    ASSERT_EQ(std::fseek(image.input.file, kImageHeaderSize + 9, SEEK_SET), 0);
    ASSERT_EQ(read_image_data(bytes, 6, image.input, position), 6);
    EXPECT_EQ(position, 9);
    EXPECT_TRUE(std::equal(bytes, bytes + 6, plain.begin() + 9));
    EXPECT_EQ(std::ftell(image.input.file), kImageHeaderSize + 15);
}

TEST(pass_ratio, is_the_share_of_good_bytes_in_percent) {
    EXPECT_FLOAT_EQ(pass_ratio(1000, 10), 99.0f);
    EXPECT_FLOAT_EQ(pass_ratio(1, 0), 100.0f);
    EXPECT_FLOAT_EQ(pass_ratio(3, 3), 0.0f);
}

TEST(address_counter, the_spinners_turn_in_opposite_directions) {
    reset_address_counter();
    EXPECT_EQ(address_counter_line(0x420, 0x7FFF, counter_state::in_progress),
              "\r[||] Address Counter = 000420 -> 007FFF(hex) < In Progress >.");
    EXPECT_EQ(address_counter_line(0x840, 0x7FFF, counter_state::in_progress).substr(0, 5), "\r[/\\]");
    EXPECT_EQ(address_counter_line(0x7FFF, 0x7FFF, counter_state::complete_ok),
              "\r[--] Address Counter = 007FFF -> 007FFF(hex) < Complete OK >.");
    EXPECT_EQ(address_counter_line(1, 2, counter_state::end_error).substr(0, 5), "\r[\\/]");
    EXPECT_EQ(address_counter_line(1, 2, counter_state::end_error),
              "\r[||] Address Counter = 000001 -> 000002(hex) <  End Error  >.");
}

}  // namespace
