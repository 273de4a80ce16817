#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "wav_signals.h"

namespace {

// Sign changes from negative to not negative: one per period of a tone.
int upward_crossings(const std::vector<float>& s, size_t from, size_t to) {
    int count = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++count;
    return count;
}

float peak(const std::vector<float>& s, size_t from, size_t to) {
    float most = 0;
    for (size_t i = from; i < to; ++i) most = std::max(most, std::fabs(s[i]));
    return most;
}

TEST(WavTone, HasItsFrequencyAndAmplitude) {
    const std::vector<float> tone = wav_tone(440, 8000, 8000, 0.5);
    ASSERT_EQ(tone.size(), 8000u);
    EXPECT_NEAR(upward_crossings(tone, 0, tone.size()), 440, 1);
    EXPECT_NEAR(peak(tone, 0, tone.size()), 0.5, 0.01);
    EXPECT_EQ(tone[0], 0.0f);
}

TEST(WavChirp, SweepsFromOneFrequencyToTheOther) {
    const std::vector<float> chirp = wav_chirp(100, 900, 16000, 16000, 1.0);
    // Over the whole second the mean frequency is 500 Hz; the first tenth runs
    // near 140 Hz, the last near 860 Hz.
    EXPECT_NEAR(upward_crossings(chirp, 0, chirp.size()), 500, 2);
    EXPECT_NEAR(upward_crossings(chirp, 0, 1600), 14, 2);
    EXPECT_NEAR(upward_crossings(chirp, 14400, 16000), 86, 2);

    const std::vector<float> falling = wav_chirp(900, 100, 16000, 16000, 1.0);
    EXPECT_GT(upward_crossings(falling, 0, 1600), upward_crossings(falling, 14400, 16000));
    EXPECT_TRUE(wav_chirp(100, 900, 16000, 0, 1.0).empty());
}

TEST(WavNoise, IsRepeatableBoundedAndCentred) {
    const std::vector<float> a = wav_noise(20000, 0.5, 7);
    EXPECT_EQ(a, wav_noise(20000, 0.5, 7));
    EXPECT_NE(a, wav_noise(20000, 0.5, 8));
    EXPECT_LE(peak(a, 0, a.size()), 0.5f);
    EXPECT_GT(peak(a, 0, a.size()), 0.49f);
    const double mean = std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(a.size());
    EXPECT_NEAR(mean, 0.0, 0.02);
    // No seed may leave the generator stuck on one value.
    for (uint32_t seed = 0; seed < 64; ++seed) {
        const std::vector<float> n = wav_noise(4, 1.0, seed);
        EXPECT_FALSE(n[0] == n[1] && n[1] == n[2] && n[2] == n[3]) << seed;
    }
}

TEST(WavChime, StrikesTwiceAndFadesOut) {
    const double rate = 16000;
    const std::vector<float> chime = wav_chime(rate, 4800, 0.9);  // 0.3 s
    ASSERT_EQ(chime.size(), 4800u);
    EXPECT_LE(peak(chime, 0, chime.size()), 0.9f);
    EXPECT_GT(peak(chime, 0, 400), 0.3f);  // the first note sounds at once
    // The second note is struck a third of the way in: louder after than just before.
    EXPECT_GT(peak(chime, 1600, 1700), 1.2f * peak(chime, 1500, 1600));
    EXPECT_LT(std::fabs(chime.front()), 0.01f);  // no click at either end
    EXPECT_LT(std::fabs(chime.back()), 0.01f);
}

}  // namespace
