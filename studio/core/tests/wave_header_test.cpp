#include "wave_header.h"

#include <gtest/gtest.h>

#include "fifo_guard.h"
#include "test_files.h"
#include "test_wave.h"

namespace {

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = (value >> (8 * i)) & 0xFF;
}

void put_text(std::vector<uint8_t>& bytes, size_t at, const char* text) {
    for (size_t i = 0; text[i]; ++i) bytes[at + i] = static_cast<uint8_t>(text[i]);
}

struct wave_shape {
    uint16_t format = 1;
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint16_t bits = 8;
    uint32_t data_size = 100;
};

// A canonical 44-byte header followed by data_size bytes of silence.
std::vector<uint8_t> wave_bytes(const wave_shape& shape) {
    wave_spec spec;
    spec.rate = shape.rate;
    spec.format = shape.format;
    spec.channels = shape.channels;
    spec.bits = shape.bits;
    spec.data.assign(shape.data_size, 0x80);
    return ::wave_bytes(spec);
}

class WaveHeader : public ::testing::Test {
protected:
    std::string folder = test_folder();

    std::string wave(const std::string& name, const std::vector<uint8_t>& bytes) const {
        write_file(folder + "/" + name, bytes);
        return folder + "/" + name;
    }
    std::string wave(const std::string& name, const wave_shape& shape) const { return wave(name, wave_bytes(shape)); }
};

TEST_F(WaveHeader, EightBitMonoPcmIsAcceptedWithItsRateAndSize) {
    const std::string path = wave("ok.wav", wave_shape{.rate = 16000, .data_size = 1234});
    EXPECT_EQ(check_wave_format(path), 0);
    EXPECT_EQ(wave_sample_rate(path), 16000);
    EXPECT_EQ(wave_data_size(path), 1234u);
}

TEST_F(WaveHeader, EachWrongFieldCountsItsDifferingBytes) {
    EXPECT_EQ(check_wave_format(wave("16bit.wav", wave_shape{.bits = 16})), 1);
    EXPECT_EQ(check_wave_format(wave("stereo.wav", wave_shape{.channels = 2})), 1);
    EXPECT_EQ(check_wave_format(wave("float.wav", wave_shape{.format = 3})), 1);
    EXPECT_EQ(check_wave_format(wave("extensible.wav", wave_shape{.format = 0xFFFE})), 2);
    std::vector<uint8_t> rifx = wave_bytes({});
    put_text(rifx, 0, "RIFX");
    put_text(rifx, 12, "FMT ");
    EXPECT_EQ(check_wave_format(wave("rifx.wav", rifx)), 4);
    // All zero: RIFF, WAVE and "fmt " differ whole, and the low bytes of format, channels and bits.
    EXPECT_EQ(check_wave_format(wave("zeros.wav", std::vector<uint8_t>(44, 0))), 15);
    EXPECT_EQ(check_wave_format(wave("text.wav", std::vector<uint8_t>(40, 'x'))), 18);
}

TEST_F(WaveHeader, OtherChunksBeforeTheDataAreNotWalked) {
    std::vector<uint8_t> bytes = wave_bytes({.data_size = 0});
    put_text(bytes, 36, "LIST");
    put32(bytes, 40, 26);
    bytes.resize(44 + 26, ' ');
    const std::vector<uint8_t> data_chunk = {'d', 'a', 't', 'a', 4, 0, 0, 0, 0x80, 0x81, 0x82, 0x83};
    bytes.insert(bytes.end(), data_chunk.begin(), data_chunk.end());
    const std::string path = wave("list.wav", bytes);
    EXPECT_EQ(check_wave_format(path), 0);
    EXPECT_EQ(wave_data_size(path), 26u);
}

TEST_F(WaveHeader, TheDataSizeIsUnsignedAndTheRateSigned) {
    std::vector<uint8_t> bytes = wave_bytes({.data_size = 0});
    put32(bytes, 40, 0xFFFFFFF0u);
    put32(bytes, 24, 0xFFFFFFFFu);
    const std::string path = wave("huge.wav", bytes);
    EXPECT_EQ(wave_data_size(path), 4294967280u);
    EXPECT_EQ(wave_sample_rate(path), -1);
}

TEST_F(WaveHeader, ShortFilesAreRejectedAndMissingFieldsReadZero) {
    std::vector<uint8_t> bytes = wave_bytes({.rate = 22050, .data_size = 0});
    // 35 bytes: only byte 35 of the checked ones is missing.
    EXPECT_EQ(check_wave_format(wave("35.wav", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 35))), 1);
    EXPECT_EQ(check_wave_format(wave("36.wav", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 36))), 0);
    EXPECT_EQ(check_wave_format(wave("empty.wav", std::vector<uint8_t>())), 18);

    const std::string rate_only = wave("27.wav", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 27));
    EXPECT_EQ(wave_sample_rate(rate_only), 0);
    const std::string rate_whole = wave("28.wav", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 28));
    EXPECT_EQ(wave_sample_rate(rate_whole), 22050);
    EXPECT_EQ(wave_data_size(rate_whole), 0u);
    const std::string size_cut = wave("43.wav", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 43));
    EXPECT_EQ(wave_data_size(size_cut), 0u);
}

TEST_F(WaveHeader, MissingFoldersAndPipesAreRejectedAtOnce) {
    for (const std::string& path : {folder + "/none.wav", folder, std::string()}) {
        EXPECT_NE(check_wave_format(path), 0) << path;
        EXPECT_EQ(wave_sample_rate(path), 0) << path;
        EXPECT_EQ(wave_data_size(path), 0u) << path;
    }
    const std::string fifo = make_fifo(folder + "/pipe.wav");
    EXPECT_NE(without_waiting(fifo, [&] { return check_wave_format(fifo); }), 0);
    EXPECT_EQ(without_waiting(fifo, [&] { return wave_sample_rate(fifo); }), 0);
    EXPECT_EQ(without_waiting(fifo, [&] { return wave_data_size(fifo); }), 0u);
}

TEST(CompressedSize, AdpcmAndULawFromTheDataSize) {
    EXPECT_EQ(compressed_size(100, 0), 52u);
    EXPECT_EQ(compressed_size(100, 1), 74u);  // 65 is no multiple of 9: 65 + 9
    EXPECT_EQ(compressed_size(64, 1), 45u);   // 45 is one
    EXPECT_EQ(compressed_size(64, 0), 36u);
    EXPECT_EQ(compressed_size(100, -1), 100u);
    EXPECT_EQ(compressed_size(100, 2), 100u);
    EXPECT_EQ(compressed_size(0, 0), 4u);
    EXPECT_EQ(compressed_size(7, 1), 14u);
    EXPECT_EQ(compressed_size(0, 1), 14u);
}

TEST(CompressedSize, TheLargestDataSizesDoNotWrap) {
    EXPECT_EQ(compressed_size(4294967280u, 0), 2147483644u);
    EXPECT_EQ(compressed_size(4294967280u, 1), 2684354564u);  // 2684354555 leaves 2 over a multiple of 9
    EXPECT_EQ(compressed_size(4294967295u, 0), 2147483648u);
    EXPECT_EQ(compressed_size(4294967295u, 2), 4294967295u);
}

}  // namespace
