#include <gtest/gtest.h>

#include "child_process.h"
#include "test_files.h"
#include "wav_signals.h"
#include "wav_writer.h"

namespace {

child_result make_wav(const std::vector<std::string>& args) { return run_child(MAKE_WAV, args); }

TEST(MakeWav, WithoutOptionsWritesHalfASecondOfEightBitMonoTone) {
    const std::string path = test_folder() + "/a.wav";
    ASSERT_EQ(make_wav({path}).exit_code, 0);
    EXPECT_EQ(read_file(path), wav_file_bytes(wav_format{}, wav_encode_samples({}, wav_tone(1000, 8000, 4000, 0.8))));
}

TEST(MakeWav, OptionsReachTheFile) {
    const std::string folder = test_folder();
    wav_format format;
    format.format_tag = 3;
    format.bits_per_sample = 32;
    format.channels = 2;
    format.sample_rate = 11025;
    format.list_chunk = true;
    format.data_size_field = 7;
    const std::vector<float> chirp = wav_chirp(200, 400, 11025, 300, 0.5);
    const child_result r = make_wav({folder + "/b.wav", "--format", "3", "--bits", "32", "--channels", "2", "--rate",
                                     "11025", "--list", "--data-size", "7", "--chirp", "200:400", "--samples", "300",
                                     "--amplitude", "0.5"});
    ASSERT_EQ(r.exit_code, 0) << r.error_output;
    EXPECT_EQ(read_file(folder + "/b.wav"), wav_file_bytes(format, wav_encode_samples(format, chirp)));

    format = {};
    format.sample_rate = 6000;
    ASSERT_EQ(make_wav({folder + "/c.wav", "--rate", "6000", "--noise", "--seed", "9", "--seconds", "0.25"}).exit_code,
              0);
    EXPECT_EQ(read_file(folder + "/c.wav"),
              wav_file_bytes(format, wav_encode_samples(format, wav_noise(1500, 0.8, 9))));

    ASSERT_EQ(make_wav({folder + "/d.wav", "--silence", "--samples", "3"}).exit_code, 0);
    EXPECT_EQ(read_file(folder + "/d.wav"), wav_file_bytes(wav_format{}, {128, 128, 128}));

    ASSERT_EQ(make_wav({folder + "/e.wav", "--chime", "--rate", "16000", "--seconds", "0.1"}).exit_code, 0);
    format.sample_rate = 16000;
    EXPECT_EQ(read_file(folder + "/e.wav"),
              wav_file_bytes(format, wav_encode_samples(format, wav_chime(16000, 1600, 0.8))));
}

TEST(MakeWav, RefusesWhatItCannotMakeAndWritesNothing) {
    const std::string path = test_folder() + "/bad.wav";
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--rate", "8000"},  // no file name
        {path, "--rate"},
        {path, "--rate", "0"},
        {path, "--rate", "8k"},
        {path, "--bits", "12"},
        {path, "--channels", "0"},
        {path, "--seconds", "-1"},
        {path, "--samples", "-5"},
        {path, "--amplitude", "1.5"},
        {path, "--chirp", "200"},
        {path, "--data-size", "4294967296"},
        {path, "--volume", "3"},
    };
    for (const auto& args : refused) {
        const child_result r = make_wav(args);
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        EXPECT_EQ(r.exit_code, 1) << shown;
        EXPECT_TRUE(contains(r.error_output, "Usage:")) << shown << r.error_output;
        EXPECT_FALSE(file_exists(path)) << shown;
    }
    const child_result r = make_wav({test_folder() + "/missing/x.wav"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(contains(r.error_output, "cannot create")) << r.error_output;
}

}  // namespace
