#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image_header.h"
#include "parse_hex.h"
#include "test_image.h"

namespace {

std::vector<uint8_t> header_bytes(int16_t offset, int32_t start, int32_t end) {
    std::vector<uint8_t> raw(kImageHeaderSize, 0);
    std::memcpy(raw.data(), "KOVA", 4);
    put_header_fields(raw, offset, start, end);
    return raw;
}

int read_header(std::vector<uint8_t> bytes, image_header& header, long* position = nullptr) {
    FILE* file = open_bytes(bytes);
    const int ok = image_read_header(file, header);
    if (position) *position = std::ftell(file);
    std::fclose(file);
    return ok;
}

TEST(ImageHeader, ReadsTheFieldsAndStopsAtTheRomImage) {
    std::vector<uint8_t> bytes = header_bytes(0x200, 0x100, 0x300);
    bytes.resize(0x400, 0xFF);
    image_header header;
    long position = 0;
    ASSERT_EQ(read_header(bytes, header, &position), 1);
    EXPECT_EQ(header.header_offset, 0x200);
    EXPECT_EQ(header.cipher_start, 0x100);
    EXPECT_EQ(header.cipher_end, 0x300);
    EXPECT_EQ(position, 0x200);
    EXPECT_TRUE(image_header_accepted(header));
}

TEST(ImageHeader, ShortRecordOrOtherMagicIsRefused) {
    image_header header;
    std::vector<uint8_t> bytes = header_bytes(0x40, 0, 0);
    bytes.resize(31);
    EXPECT_EQ(read_header(bytes, header), 0);
    EXPECT_EQ(read_header({}, header), 0);

    bytes = header_bytes(0x40, 0, 0);
    bytes[3] = 'a';
    EXPECT_EQ(read_header(bytes, header), 0);
}

TEST(ImageHeader, RecordsTheReadersCannotUseAreNotAccepted) {
    auto accepted = [](int16_t offset, int32_t start, int32_t end) {
        return image_header_accepted(image_header_decode(header_bytes(offset, start, end).data()));
    };
    EXPECT_TRUE(accepted(32, 0x40, 0x40));
    EXPECT_FALSE(accepted(32, 0x40, 0x44));   // partial block
    EXPECT_FALSE(accepted(31, 0x40, 0x48));   // ROM image inside the record
    EXPECT_FALSE(accepted(-2, 0x40, 0x48));
    EXPECT_TRUE(accepted(32, 0x48, 0x40));    // ends before it starts: no block at all
    EXPECT_TRUE(accepted(32, 0x100, static_cast<int32_t>(0x80000100)));
    EXPECT_FALSE(accepted(32, 0x48, 0x44));   // the same, not a multiple of 8
    EXPECT_FALSE(accepted(32, -8, 0x40));     // range starts before the ROM image
}

TEST(ParseHex, TakesTheLeadingHexadecimalDigits) {
    EXPECT_EQ(parse_hex("008000"), 0x8000);
    EXPECT_EQ(parse_hex("1f"), 0x1F);
    EXPECT_EQ(parse_hex("FFz12"), 0xFF);
    EXPECT_EQ(parse_hex("0x10"), 0);
    EXPECT_EQ(parse_hex(" 10"), 0);
    EXPECT_EQ(parse_hex(""), 0);
    EXPECT_EQ(parse_hex(nullptr), 0);
    EXPECT_EQ(parse_hex("123456789"), 0x23456789);  // wraps at 32 bits
    EXPECT_EQ(parse_hex("FFFFFFFF"), -1);
}

}  // namespace
