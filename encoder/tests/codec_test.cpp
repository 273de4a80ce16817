// The two compressions: their tables, codes worked out by hand, the quality
// of a round trip, and the bytes each takes against the size estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sample_codecs.h"
#include "test_wave.h"
#include "voice_decoder.h"

namespace {

using samples = std::vector<uint8_t>;

samples adpcm_round_trip(const samples& in) {
    std::vector<uint8_t> coded(encoded_size(sound_kind::adpcm, in.size()), 0xEE);
    encode_adpcm(in, coded.data());
    return decode_adpcm(coded, in.size());
}

samples companded_round_trip(const samples& in) {
    std::vector<uint8_t> coded(encoded_size(sound_kind::companded, in.size()), 0xEE);
    encode_companded(in, coded.data());
    return decode_companded(coded, in.size());
}

}  // namespace

TEST(Codecs, StepAndLevelTables) {
    const std::vector<int> first = {4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 19, 22, 26, 31, 37, 44, 52, 62, 74, 88};
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(kAdpcmSteps[i], first[i]) << i;
    EXPECT_EQ(kAdpcmSteps[kAdpcmStepCount - 1], 537);  // 7.5 steps cover the whole 12-bit swing
    EXPECT_EQ(kAdpcmSteps[kAdpcmFirstStep], 16);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(kCompandLevels[k], std::lround(127 * (std::pow(27.0, k / 15.0) - 1) / 26)) << k;
}

TEST(Codecs, AdpcmCodesWorkedOutByHand) {
    // Predictor 0, step 16: +7 moves it by 7.5 steps to 120 (sample 136) and
    // the step to 37; +0 adds half a step, 18, and the step falls to 31; -7
    // takes 232 away (-94, sample 122) and the step rises to 74; -0 takes 37.
    const samples in = {136, 137, 122, 120};
    std::vector<uint8_t> coded(2);
    encode_adpcm(in, coded.data());
    EXPECT_EQ(coded, (std::vector<uint8_t>{0x07, 0x8F}));
    EXPECT_EQ(decode_adpcm(coded, 4), in);
    // An odd count leaves the last byte's high half 0.
    encode_adpcm(samples{136, 137, 122}, coded.data());
    EXPECT_EQ(coded, (std::vector<uint8_t>{0x07, 0x0F}));
}

TEST(Codecs, CompandedCodesWorkedOutByHand) {
    // +127, -127, 0, +10, -1: codes 15, 31, 0, 5, 17 packed from bit 0 up.
    const samples in = {255, 1, 128, 138, 127};
    std::vector<uint8_t> coded(4);
    encode_companded(in, coded.data());
    EXPECT_EQ(coded, (std::vector<uint8_t>{0xEF, 0x83, 0x12, 0x01}));
    EXPECT_EQ(decode_companded(coded, 5), in);
    // Between two levels a sample takes the nearer, the smaller on a tie;
    // 0 stands for the lowest sample, whose magnitude 128 exceeds every level.
    EXPECT_EQ(companded_round_trip(samples{130, 126, 136, 120, 0, 200}), (samples{129, 127, 135, 121, 1, 208}));
}

TEST(Codecs, RoundTripsKeepTheSound) {
    const samples sine = sine_samples(16000, 440, 8000, 120);
    const samples quiet = sine_samples(16000, 300, 8000, 10);
    const samples chirp = chirp_samples(16000, 100, 3900, 8000, 100);
    const samples noise = noise_samples(16000, 7, 60);
    EXPECT_GT(snr_db(sine, adpcm_round_trip(sine)), 28);
    EXPECT_GT(snr_db(quiet, adpcm_round_trip(quiet)), 20);
    EXPECT_GT(snr_db(chirp, adpcm_round_trip(chirp)), 17);
    EXPECT_GT(snr_db(noise, adpcm_round_trip(noise)), 10);
    EXPECT_GT(snr_db(sine, companded_round_trip(sine)), 20);
    EXPECT_GT(snr_db(quiet, companded_round_trip(quiet)), 15);
    EXPECT_GT(snr_db(chirp, companded_round_trip(chirp)), 20);
    EXPECT_GT(snr_db(noise, companded_round_trip(noise)), 15);
}

TEST(Codecs, FullSwingsAndSilenceStayInRange) {
    // A square wave from rail to rail: the ADPCM step grows within a few
    // samples of each edge, and the predictor stops at the rails instead of
    // wrapping round to the other side.
    samples square;
    for (int i = 0; i < 4000; ++i) square.push_back((i / 20) % 2 ? 255 : 0);
    const samples decoded = adpcm_round_trip(square);
    for (size_t i = 0; i < square.size(); ++i) {
        if (i % 20 >= 6) {
            EXPECT_LE(std::abs(decoded[i] - square[i]), 24) << i;
        }
    }
    EXPECT_EQ(adpcm_round_trip(samples(1000, 128)).back(), 128);
    EXPECT_EQ(companded_round_trip(samples(1000, 128)), samples(1000, 128));
}

TEST(Codecs, EncodedSoundsNeverExceedTheSizeEstimate) {
    // n samples were estimated at n/8*4+4 (ADPCM) and n/8*5+5, plus 9 when
    // that is no multiple of 9 (companding).
    for (uint64_t n = 0; n < 20000; ++n) {
        EXPECT_LE(encoded_size(sound_kind::adpcm, n), n / 8 * 4 + 4) << n;
        uint64_t c = n / 8 * 5 + 5;
        if (c % 9 != 0) c += 9;
        EXPECT_LE(encoded_size(sound_kind::companded, n), c) << n;
        EXPECT_EQ(encoded_size(sound_kind::pcm, n), n);
    }
    // The encoders write exactly that many bytes: a guard byte after them stays.
    for (size_t n = 0; n < 40; ++n) {
        const samples in = noise_samples(n, 3, 100);
        std::vector<uint8_t> out(encoded_size(sound_kind::companded, n) + 1, 0xA5);
        encode_companded(in, out.data());
        EXPECT_EQ(out.back(), 0xA5) << n;
        out.assign(encoded_size(sound_kind::adpcm, n) + 1, 0xA5);
        encode_adpcm(in, out.data());
        EXPECT_EQ(out.back(), 0xA5) << n;
    }
}
