// Where the groups, entries and sounds land in the voice data, field by field
// as worked out by hand, and what the decoder makes of it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "voice_decoder.h"
#include "voice_layout.h"

namespace {

uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint64_t get64(const std::vector<uint8_t>& b, size_t at) { return get32(b, at) | uint64_t{get32(b, at + 4)} << 32; }

// A 3-sample PCM sound used in group 1 at 16 kHz with busy on, a 250 ms mute
// beside it with busy off, and an empty group 2.
encoder_script small_script() {
    encoder_script s;
    s.offset = 0x600;
    s.clock_hz = 10000000;
    s.last_group = 1;
    s.sounds = {{"I0001", sound_kind::pcm, "/x/a.wav", 0, 4}, {"I0002", sound_kind::silence, "", 250, 5}};
    script_group g1;
    g1.edge = true;
    g1.retrigger = true;
    g1.entries = {{0, 16000, true, 17}, {1, 8000, false, 18}};
    script_group g2;
    g2.entries = {{-1, 8000, false, 24}};
    s.groups = {g1, g2};
    return s;
}

}  // namespace

TEST(VoiceLayout, FieldsOfASmallProject) {
    const std::vector<uint8_t> out = build_voice_data(small_script(), {{1, 2, 3}, {}});
    ASSERT_EQ(out.size(), 48u + 2 * 4 + 3 * 8 + 3);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "TPK1");
    EXPECT_EQ(get32(out, 4), 0x600u);
    EXPECT_EQ(get32(out, 8), 83u);
    EXPECT_EQ(get32(out, 12), 10000000u);
    EXPECT_EQ(get32(out, 16), 2u);
    EXPECT_EQ(get32(out, 20), 1u);
    EXPECT_EQ(get32(out, 24), 3u);
    EXPECT_EQ(get32(out, 28), 0x630u);
    EXPECT_EQ(get32(out, 32), 0x638u);
    EXPECT_EQ(get32(out, 36), 0x650u);
    EXPECT_EQ(out[40], 0);
    EXPECT_EQ(out[41], 0);
    EXPECT_EQ(out[42], 0);
    EXPECT_EQ(out[43], 0);
    EXPECT_EQ(get32(out, 48), 0xA0000000u);  // first entry 0, edge and retrigger
    EXPECT_EQ(get32(out, 52), 2u);           // first entry 2, no flag
    // Address 0x650, 3 samples, divider 625 (16 kHz of 10 MHz), PCM, busy.
    EXPECT_EQ(get64(out, 56), 0xA271000003000650u);
    // 2000 samples of silence at divider 1250, busy off.
    EXPECT_EQ(get64(out, 64), 0x04E20007D0000000u);
    // The default silence: 100 ms, 800 samples.
    EXPECT_EQ(get64(out, 72), 0x04E2000320000000u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 80, out.end()), (std::vector<uint8_t>{1, 2, 3}));

    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data(), 44);
    crc = crc32(crc, out.data() + 48, static_cast<uInt>(out.size() - 48));
    EXPECT_EQ(get32(out, 44), crc);
}

TEST(VoiceLayout, SettingsReachTheHeader) {
    encoder_script s = small_script();
    s.ramp = true;
    s.companding = true;
    s.clock_hz = 8000000;
    s.offset = 0x1A0F;
    const std::vector<uint8_t> out = build_voice_data(s, {{1, 2, 3}, {}});
    EXPECT_EQ(out[40], 3);
    EXPECT_EQ(out[41], 5);
    EXPECT_EQ(out[42], 26);
    EXPECT_EQ(get32(out, 36), 0x1A0Fu + 80);
    EXPECT_EQ(get64(out, 56) >> 48 & 0x1FFF, 500u);  // 16 kHz of 8 MHz
}

TEST(VoiceLayout, DecoderReadsItBack) {
    const std::vector<uint8_t> out = build_voice_data(small_script(), {{1, 2, 3}, {}});
    std::vector<uint8_t> in_image = out;
    in_image.resize(out.size() + 100, 0xFF);  // as taken out of a larger image
    const decoded_voice_data voice = decode_voice_data(in_image);
    EXPECT_EQ(voice.offset, 0x600u);
    EXPECT_EQ(voice.length, out.size());
    ASSERT_EQ(voice.groups.size(), 2u);
    ASSERT_EQ(voice.groups[0].entries.size(), 2u);
    const decoded_entry& pcm = voice.groups[0].entries[0];
    EXPECT_EQ(pcm.kind, sound_kind::pcm);
    EXPECT_EQ(pcm.samples, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_DOUBLE_EQ(pcm.rate, 16000);
    EXPECT_TRUE(pcm.busy);
    EXPECT_EQ(voice.groups[0].entries[1].samples, std::vector<uint8_t>(2000, 128));
    EXPECT_EQ(voice.groups[1].entries[0].samples.size(), 800u);

    // Any changed byte is noticed.
    for (size_t at : {size_t{5}, size_t{50}, size_t{60}, out.size() - 1}) {
        std::vector<uint8_t> spoiled = out;
        spoiled[at] ^= 0x10;
        EXPECT_THROW(decode_voice_data(spoiled), voice_data_error) << at;
    }
    EXPECT_THROW(decode_voice_data(std::vector<uint8_t>(out.begin(), out.end() - 1)), voice_data_error);
}

TEST(VoiceLayout, RepeatedSoundsShareTheirData) {
    encoder_script s = small_script();
    s.groups[1].entries = {{0, 16000, false, 24}, {0, 16000, true, 25}};
    s.last_group = 2;
    const std::vector<uint8_t> out = build_voice_data(s, {{9, 8, 7}, {}});
    EXPECT_EQ(out.size(), 48u + 2 * 4 + 4 * 8 + 3);
    const decoded_voice_data voice = decode_voice_data(out);
    EXPECT_EQ(voice.groups[1].entries[0].address, voice.groups[0].entries[0].address);
    EXPECT_EQ(voice.groups[1].entries[1].samples, (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_FALSE(voice.groups[1].entries[0].busy);
}
