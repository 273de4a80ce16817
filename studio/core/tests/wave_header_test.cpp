#include "wave_header.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "fifo_guard.h"
#include "test_files.h"
#include "test_wave.h"

namespace {

using bytes = std::vector<uint8_t>;

void put32(bytes& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = (value >> (8 * i)) & 0xFF;
}

// A canonical 44-byte header, then the samples.
bytes canonical(const wave_spec& spec) { return wave_bytes(spec); }

class WaveHeader : public ::testing::Test {
protected:
    std::string folder = test_folder();

    std::string wave(const std::string& name, const bytes& content) const {
        write_file(folder + "/" + name, content);
        return folder + "/" + name;
    }

    // The rate and size the file list shows for the file, or "refused".
    std::string listed(const std::string& name, const bytes& content) const {
        const std::optional<wave_header> header = read_wave_header(wave(name, content));
        if (!header) return "refused";
        return std::to_string(header->sample_rate) + " Hz, " + std::to_string(header->data_size);
    }
};

TEST_F(WaveHeader, TheCanonicalHeaderGivesItsRateAndSize) {
    wave_spec spec;
    spec.rate = 16000;
    spec.data = sine_samples(1234, 440, 16000, 100);
    EXPECT_EQ(listed("ok.wav", canonical(spec)), "16000 Hz, 1234");
    spec.data.clear();
    EXPECT_EQ(listed("empty.wav", canonical(spec)), "16000 Hz, 0");
}

TEST_F(WaveHeader, OnlyEightBitMonoPcmIsAccepted) {
    auto shaped = [](uint16_t format, uint16_t channels, uint16_t bits, uint32_t rate = 8000) {
        wave_spec spec;
        spec.format = format;
        spec.channels = channels;
        spec.bits = bits;
        spec.rate = rate;
        spec.data.assign(100, 0x80);
        return canonical(spec);
    };
    EXPECT_EQ(listed("16bit.wav", shaped(1, 1, 16)), "refused");
    // 1 to 7 bits are stored a byte each too: the width stated must be 8.
    EXPECT_EQ(listed("7bit.wav", shaped(1, 1, 7)), "refused");
    EXPECT_EQ(listed("stereo.wav", shaped(1, 2, 8)), "refused");
    EXPECT_EQ(listed("float.wav", shaped(3, 1, 32)), "refused");
    EXPECT_EQ(listed("alaw.wav", shaped(6, 1, 8)), "refused");
    EXPECT_EQ(listed("extensible.wav", shaped(0xFFFE, 1, 8)), "refused");
    EXPECT_EQ(listed("no-rate.wav", shaped(1, 1, 8, 0)), "refused");
    bytes rifx = shaped(1, 1, 8);
    rifx[3] = 'X';
    EXPECT_EQ(listed("rifx.wav", rifx), "refused");
    EXPECT_EQ(listed("zeros.wav", bytes(44, 0)), "refused");
    EXPECT_EQ(listed("text.wav", bytes(40, 'x')), "refused");
    EXPECT_EQ(listed("empty.wav", bytes()), "refused");
    // The data must follow the "fmt " chunk that says what it holds.
    EXPECT_EQ(listed("no-data.wav", riff_wave({fmt_chunk()})), "refused");
    EXPECT_EQ(listed("data-first.wav", riff_wave({wave_chunk("data", bytes(10, 0x80)), fmt_chunk()})), "refused");
}

TEST_F(WaveHeader, ChunksBeforeTheDataAreWalked) {
    // A common recording tool's layout: a 26-byte LIST chunk between "fmt " and "data".
    const bytes second = sine_samples(8000, 440, 8000, 100);
    const bytes info = list_chunk("recorder 1.00");
    ASSERT_EQ(info.size(), 8u + 26u);
    EXPECT_EQ(listed("list.wav", riff_wave({fmt_chunk(), info, wave_chunk("data", second)})), "8000 Hz, 8000");
    EXPECT_EQ(listed("junk-first.wav", riff_wave({wave_chunk("JUNK", bytes(28, 0)), fmt_chunk(11025),
                                                   wave_chunk("data", bytes(300, 0x80))})),
              "11025 Hz, 300");
    // An odd-sized chunk is followed by its pad byte.
    bytes odd = wave_chunk("note", bytes(5, 'n'));
    odd.push_back(0);
    EXPECT_EQ(listed("odd.wav", riff_wave({fmt_chunk(), odd, wave_chunk("data", bytes(7, 0x80))})), "8000 Hz, 7");
    // Chunks after the data add nothing.
    EXPECT_EQ(listed("trailer.wav", riff_wave({fmt_chunk(), wave_chunk("data", bytes(20, 0x80)), info})), "8000 Hz, 20");
}

TEST_F(WaveHeader, AChunkOfUnknownContentIsSteppedOverWhateverItHolds) {
    // A LIST chunk of the right size whose member claims 2^32 - 8 bytes: a reader that walks the members in 32
    // bits wraps around and loops for ever. The read runs beside a guard, so that a hang fails the test.
    bytes info = {'I', 'N', 'F', 'O', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    put32(info, 8, 0xFFFFFFF8u);
    info.resize(info.size() + 8, 0xFF);
    const bytes file = riff_wave({fmt_chunk(), wave_chunk("LIST", info), wave_chunk("data", bytes(300, 0x80))});
    auto reading = std::async(std::launch::async, [&] { return listed("wrapped.wav", file); });
    if (reading.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        std::fprintf(stderr, "reading wrapped.wav did not end\n");
        std::_Exit(1);
    }
    EXPECT_EQ(reading.get(), "8000 Hz, 300");
}

TEST_F(WaveHeader, TheSizeIsNeverMoreThanTheFileHolds) {
    wave_spec spec;
    spec.data = noise_samples(4000, 1, 100);
    spec.data_size_field = 99999999;
    EXPECT_EQ(listed("claims.wav", canonical(spec)), "8000 Hz, 4000");
    spec.data_size_field = 0xFFFFFFFF;
    EXPECT_EQ(listed("all-ones.wav", canonical(spec)), "8000 Hz, 4000");
    // A size below the bytes present is the data chunk's size.
    spec.data_size_field = 1000;
    EXPECT_EQ(listed("short.wav", canonical(spec)), "8000 Hz, 1000");
    // A file cut inside its data.
    spec.data_size_field.reset();
    bytes cut = canonical(spec);
    cut.resize(44 + 61);
    EXPECT_EQ(listed("cut.wav", cut), "8000 Hz, 61");
}

TEST_F(WaveHeader, MissingFoldersAndPipesAreRejectedAtOnce) {
    for (const std::string& path : {folder + "/none.wav", folder, std::string()}) {
        EXPECT_FALSE(read_wave_header(path)) << path;
        EXPECT_EQ(wave_data_size(path), 0u) << path;
    }
    const std::string fifo = make_fifo(folder + "/pipe.wav");
    EXPECT_FALSE(without_waiting(fifo, [&] { return read_wave_header(fifo).has_value(); }));
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
