#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image_cipher.h"
#include "image_reader.h"
#include "stdio_probe.h"
#include "test_image.h"

namespace {

constexpr int32_t kBase = 32;

// An image of rom_length pattern bytes after a 32-byte prefix, [start, end) enciphered.
struct probe {
    std::vector<uint8_t> file;
    std::vector<uint8_t> rom;  // plain
    int32_t start = 0, end = 0;
};

probe make_probe(int32_t start, int32_t end, int32_t rom_length = 0x2000) {
    probe p;
    p.start = start;
    p.end = end;
    p.file.assign(kBase, 0xAA);
    for (int32_t a = 0; a < rom_length; ++a) p.rom.push_back(static_cast<uint8_t>(a * 13 + a / 256));
    p.file.insert(p.file.end(), p.rom.begin(), p.rom.end());
    for (int32_t a = start; a < end; a += 8) image_encrypt_block(&p.rom[a], &p.file[kBase + a], a + 8);
    return p;
}

FILE* open_at(probe& p, int32_t rom) {
    FILE* file = open_bytes(p.file);
    std::fseek(file, kBase + rom, SEEK_SET);
    return file;
}

struct read_outcome {
    int32_t delivered;
    std::vector<uint8_t> bytes;
    long rom_after;
};

read_outcome read_from(probe& p, int32_t rom, int32_t n, stdio_record* calls = nullptr) {
    FILE* file = open_at(p, rom);
    std::vector<uint8_t> buffer(static_cast<size_t>(n) + 8, 0);
    int32_t delivered = 0;
    {
        stdio_probe recording;
        delivered = image_read(buffer.data(), n, file, kBase, p.start, p.end);
        if (calls) *calls = recording.record();
    }
    const long after = std::ftell(file) - kBase;
    std::fclose(file);
    buffer.resize(static_cast<size_t>(std::max(delivered, 0)));
    return {delivered, buffer, after};
}

std::vector<uint8_t> plain(const probe& p, int32_t rom, int32_t n) {
    return {p.rom.begin() + rom, p.rom.begin() + rom + n};
}

TEST(ImageReader, ReadsOnFromThePositionInPlainChunksAndDecipheredBlocks) {
    probe p = make_probe(0x100, 0x600);
    const int32_t n = 0x1800;
    stdio_record calls;
    const read_outcome r = read_from(p, 0x10, n, &calls);
    EXPECT_EQ(r.delivered, n);
    EXPECT_EQ(r.bytes, plain(p, 0x10, n));
    EXPECT_EQ(r.rom_after, 0x10 + n);
    EXPECT_EQ(calls.seeks, 0);

    std::vector<size_t> expected{0xF0};
    expected.insert(expected.end(), (0x600 - 0x100) / 8, 8);
    const int32_t after = n - 0xF0 - 0x500;
    expected.insert(expected.end(), after / 1024, 1024);
    expected.push_back(after % 1024);
    EXPECT_EQ(calls.reads, expected);
}

TEST(ImageReader, StopsBeforeAPartialBlockInsideTheRange) {
    probe p = make_probe(0x100, 0x600);
    read_outcome r = read_from(p, 0x100, 12);
    EXPECT_EQ(r.delivered, 8);
    EXPECT_EQ(r.bytes, plain(p, 0x100, 8));
    EXPECT_EQ(r.rom_after, 0x108);

    r = read_from(p, 0x108, 4);
    EXPECT_EQ(r.delivered, 0);
    EXPECT_EQ(r.rom_after, 0x108);

    // Any block of the range deciphers on its own, keyed by its position.
    r = read_from(p, 0x3F8, 16);
    EXPECT_EQ(r.bytes, plain(p, 0x3F8, 16));
}

TEST(ImageReader, RequestStartingJustBeforeTheRangeEndsOnABlockBoundary) {
    probe p = make_probe(0x100, 0x600);
    const read_outcome r = read_from(p, 0xFC, 1024);
    EXPECT_EQ(r.delivered, 4 + 127 * 8);
    EXPECT_EQ(r.bytes, plain(p, 0xFC, 1020));
}

TEST(ImageReader, EmptyRangeReadsEverythingPlainly) {
    probe p = make_probe(0x100, 0x100);
    const read_outcome r = read_from(p, 0, 0x2000);
    EXPECT_EQ(r.delivered, 0x2000);
    EXPECT_EQ(r.bytes, std::vector<uint8_t>(p.file.begin() + kBase, p.file.end()));
}

TEST(ImageReader, RangeEndingBeforeItStartsReadsEverythingPlainly) {
    probe p = make_probe(0x100, 0x100);
    p.start = 0x600;
    p.end = 0x100;
    const read_outcome r = read_from(p, 0, 0x2000);
    EXPECT_EQ(r.delivered, 0x2000);
    EXPECT_EQ(r.bytes, plain(p, 0, 0x2000));
}

TEST(ImageReader, RangeOfPartialBlocksReadsNothing) {
    probe p = make_probe(0x100, 0x600);
    p.end = 0x604;
    const read_outcome r = read_from(p, 0, 64);
    EXPECT_EQ(r.delivered, 0);
    EXPECT_EQ(r.rom_after, 0);
}

TEST(ImageReader, EndOfFileEndsTheRead) {
    probe p = make_probe(0x100, 0x600);
    p.file.resize(kBase + 0x104);  // the last block is cut short
    read_outcome r = read_from(p, 0xF8, 32);
    EXPECT_EQ(r.delivered, 12);
    EXPECT_EQ(plain(p, 0xF8, 8), std::vector<uint8_t>(r.bytes.begin(), r.bytes.begin() + 8));

    p = make_probe(0x100, 0x600, 0x700);
    r = read_from(p, 0x680, 1024);
    EXPECT_EQ(r.delivered, 0x80);
    EXPECT_EQ(r.bytes, plain(p, 0x680, 0x80));
}

TEST(ImageReader, WritesNothingPastTheBytesItDelivers) {
    probe p = make_probe(0x100, 0x600);
    p.file.resize(kBase + 0x103);  // three bytes of the range's first block
    for (int32_t rom : {0x100, 0xF8}) {
        FILE* file = open_at(p, rom);
        std::vector<uint8_t> buffer(32, 0xFF);
        const int32_t delivered = image_read(buffer.data(), 32, file, kBase, p.start, p.end);
        std::fclose(file);
        ASSERT_EQ(delivered, 0x103 - rom);
        EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + delivered, buffer.end()),
                  std::vector<uint8_t>(32 - static_cast<size_t>(delivered), 0xFF))
            << "from " << rom;
    }
    p.file.resize(kBase + 0x100);  // the file ends where the range starts
    FILE* file = open_at(p, 0x100);
    std::vector<uint8_t> buffer(8, 0xFF);
    EXPECT_EQ(image_read(buffer.data(), 8, file, kBase, p.start, p.end), 0);
    std::fclose(file);
    EXPECT_EQ(buffer, std::vector<uint8_t>(8, 0xFF));
}

TEST(ImageReader, ReportsTheRomPositionOfTheReadStart) {
    probe p = make_probe(0x100, 0x600);
    uint8_t buffer[16];
    int32_t position = -1;
    FILE* file = open_at(p, 0x1F0);
    EXPECT_EQ(image_read_at(buffer, 16, file, kBase, p.start, p.end, position), 16);
    EXPECT_EQ(position, 0x1F0);
    std::fclose(file);

    // Also when a range of partial blocks makes it deliver nothing.
    position = -1;
    file = open_at(p, 0x1F0);
    EXPECT_EQ(image_read_at(buffer, 16, file, kBase, p.start, p.end + 4, position), 0);
    EXPECT_EQ(position, 0x1F0);
    std::fclose(file);
}

}  // namespace
