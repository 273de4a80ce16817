#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "test_files.h"

namespace {

namespace fs = std::filesystem;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

// The layout KovaStudio takes a sound file in: the canonical 44-byte header of
// 8-bit mono PCM with the data size at byte 40. Returns the rate.
uint32_t expect_canonical_eight_bit_mono(const fs::path& path) {
    const std::vector<uint8_t> b = read_file(path);
    EXPECT_GE(b.size(), 46u) << path;
    if (b.size() < 46) return 0;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << path;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << path;
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data") << path;
    EXPECT_EQ(le16(b, 20), 1) << path;
    EXPECT_EQ(le16(b, 22), 1) << path;
    EXPECT_EQ(le16(b, 34), 8) << path;
    EXPECT_EQ(le32(b, 40) + 44 + le32(b, 40) % 2, b.size()) << path;
    return le32(b, 24);
}

double seconds_of(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return -1;
    sf_close(file);
    return static_cast<double>(info.frames) / info.samplerate;
}

TEST(InstalledSounds, PlayWavIsAShortEightBitMonoChime) {
    const fs::path play = fs::path(KOVA_DIR) / "bin" / "Play.wav";
    ASSERT_TRUE(file_exists(play));
    expect_canonical_eight_bit_mono(play);
    const double seconds = seconds_of(play);
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.5);
    const std::vector<uint8_t> b = read_file(play);
    const auto loudest = *std::max_element(b.begin() + 44, b.end());
    EXPECT_GT(loudest, 200) << "the chime is nearly silent";
}

TEST(InstalledSounds, SamplesAreEightBitMonoFilesKovaStudioTakes) {
    const fs::path folder = fs::path(KOVA_DIR) / "Samples";
    int count = 0;
    std::set<uint32_t> rates;
    for (const auto& entry : fs::directory_iterator(folder)) {
        ++count;
        EXPECT_EQ(entry.path().extension(), ".wav");
        rates.insert(expect_canonical_eight_bit_mono(entry.path()));
        EXPECT_GT(seconds_of(entry.path()), 0.1) << entry.path();
    }
    EXPECT_GE(count, 4);
    EXPECT_GE(rates.size(), 3u) << "samples of several rates";
}

}  // namespace
