#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>

#include "test_files.h"
#include "wav_writer.h"

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
std::string text(const std::vector<uint8_t>& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

TEST(WavFileBytes, PlainEightBitMonoHasTheCanonicalLayout) {
    wav_format format;
    format.sample_rate = 11025;
    const std::vector<uint8_t> expected = {
        'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E',       // 4 + 24 + 12 bytes follow
        'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,              // PCM, mono
        0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0,            // 11025 Hz, 11025 bytes/s, align 1, 8 bits
        'd', 'a', 't', 'a', 3, 0, 0, 0, 0x80, 0xFF, 0x01, 0x00};  // three samples and a pad byte
    EXPECT_EQ(wav_file_bytes(format, {0x80, 0xFF, 0x01}), expected);
}

TEST(WavFileBytes, EachVariantChangesItsOwnFieldsOnly) {
    wav_format format;
    format.channels = 2;
    format.bits_per_sample = 16;
    format.sample_rate = 8000;
    std::vector<uint8_t> b = wav_file_bytes(format, std::vector<uint8_t>(8, 0));
    EXPECT_EQ(le16(b, 22), 2);
    EXPECT_EQ(le32(b, 28), 32000u);  // bytes per second
    EXPECT_EQ(le16(b, 32), 4);       // block align
    EXPECT_EQ(le16(b, 34), 16);
    EXPECT_EQ(b.size(), 52u);

    format = {};
    format.format_tag = 3;
    b = wav_file_bytes(format, {1, 2});
    EXPECT_EQ(le16(b, 20), 3);
    EXPECT_EQ(le16(b, 34), 8);

    // The LIST chunk pushes the data chunk back: byte 40 no longer holds its size.
    format = {};
    format.list_chunk = true;
    b = wav_file_bytes(format, {1, 2, 3, 4});
    EXPECT_EQ(text(b, 36), "LIST");
    const size_t data = 44 + le32(b, 40);
    ASSERT_LT(data + 8, b.size());
    EXPECT_EQ(text(b, data), "data");
    EXPECT_EQ(le32(b, data + 4), 4u);
    EXPECT_EQ(le32(b, 4), b.size() - 8);

    // A stated data size that is not the real one; the RIFF size stays true.
    format = {};
    format.data_size_field = 0x12345678;
    b = wav_file_bytes(format, {1, 2});
    EXPECT_EQ(le32(b, 40), 0x12345678u);
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(b.size(), 46u);
}

TEST(WavEncodeSamples, ScalesClipsAndRepeatsOnEveryChannel) {
    wav_format format;
    EXPECT_EQ(wav_encode_samples(format, {0.0f, 1.0f, -1.0f, 2.0f, -7.0f, NAN}),
              (std::vector<uint8_t>{128, 255, 1, 255, 1, 128}));

    format.bits_per_sample = 16;
    format.channels = 2;
    EXPECT_EQ(wav_encode_samples(format, {1.0f, -0.5f}),
              (std::vector<uint8_t>{0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0xC0, 0x00, 0xC0}));

    format = {};
    format.bits_per_sample = 24;
    EXPECT_EQ(wav_encode_samples(format, {-1.0f}), (std::vector<uint8_t>{0x01, 0x00, 0x80}));

    format.bits_per_sample = 32;
    format.format_tag = 3;
    const std::vector<uint8_t> bytes = wav_encode_samples(format, {0.25f});
    float value = 0;
    ASSERT_EQ(bytes.size(), 4u);
    std::memcpy(&value, bytes.data(), 4);
    EXPECT_EQ(value, 0.25f);

    format.format_tag = 1;  // 32-bit integers without the float tag
    EXPECT_EQ(wav_encode_samples(format, {1.0f}), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));

    format.bits_per_sample = 12;
    EXPECT_THROW(wav_encode_samples(format, {0.0f}), std::invalid_argument);
}

struct sound_read {
    SF_INFO info{};
    std::vector<double> samples;  // interleaved, each in -1 to 1
    bool opened = false;
};

sound_read read_with_sndfile(const std::string& path) {
    sound_read r;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &r.info);
    if (!file) return r;
    r.opened = true;
    r.samples.resize(static_cast<size_t>(r.info.frames * r.info.channels));
    r.samples.resize(static_cast<size_t>(sf_read_double(file, r.samples.data(), r.info.frames * r.info.channels)));
    sf_close(file);
    return r;
}

TEST(WriteWavFile, AnotherReaderSeesTheSameSound) {
    const std::string folder = test_folder();
    const std::vector<float> frames = {0.0f, 0.5f, -0.5f, 0.25f, 1.0f};
    struct variant {
        const char* name;
        wav_format format;
        int major_sub;
    };
    wav_format pcm8, pcm16_stereo, float32, listed;
    pcm16_stereo.channels = 2;
    pcm16_stereo.bits_per_sample = 16;
    pcm16_stereo.sample_rate = 22050;
    float32.format_tag = 3;
    float32.bits_per_sample = 32;
    listed.list_chunk = true;
    const variant variants[] = {{"pcm8", pcm8, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
                                {"pcm16", pcm16_stereo, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                                {"float", float32, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                                {"list", listed, SF_FORMAT_WAV | SF_FORMAT_PCM_U8}};
    for (const variant& v : variants) {
        const std::string path = folder + "/" + v.name + ".wav";
        std::string error;
        ASSERT_TRUE(write_wav_file(path, v.format, frames, error)) << error;
        const sound_read r = read_with_sndfile(path);
        ASSERT_TRUE(r.opened) << v.name;
        EXPECT_EQ(r.info.format, v.major_sub) << v.name;
        EXPECT_EQ(r.info.channels, v.format.channels) << v.name;
        EXPECT_EQ(r.info.samplerate, static_cast<int>(v.format.sample_rate)) << v.name;
        ASSERT_EQ(r.info.frames, static_cast<sf_count_t>(frames.size())) << v.name;
        for (size_t i = 0; i < r.samples.size(); ++i)
            EXPECT_NEAR(r.samples[i], frames[i / v.format.channels], 0.02) << v.name << " sample " << i;
    }
}

TEST(WriteWavFile, ReportsWhatCannotBeWritten) {
    std::string error;
    EXPECT_FALSE(write_wav_file(test_folder() + "/no/such/folder/a.wav", wav_format{}, {0.0f}, error));
    EXPECT_NE(error.find("no/such/folder"), std::string::npos) << error;

    wav_format odd;
    odd.bits_per_sample = 4;
    error.clear();
    const std::string path = test_folder() + "/odd.wav";
    EXPECT_FALSE(write_wav_file(path, odd, {0.0f}, error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(file_exists(path));
}

}  // namespace
