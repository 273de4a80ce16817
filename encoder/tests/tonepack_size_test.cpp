// The voice data tonepack writes never takes more room than KovaStudio's
// memory estimate left for it (the estimate minus Offset), and exactly that
// room for a project of plain PCM sounds; its groups and entries are the
// project's and its sounds play back as recorded.
#include <algorithm>

#include "tonepack_fixture.h"
#include "wave_header.h"

namespace {

// The memory estimate minus Offset: 48, every file-list row's size as
// KovaStudio lists it, 4 per group and 8 per group entry, or 8 for an empty
// group.
uint64_t estimate_without_offset(const test_project& project) {
    uint64_t l = 48;
    for (const test_sound& sound : project.sounds) {
        const uint64_t n = sound.kind == sound_kind::silence ? 0 : wave_data_size(sound.path);
        if (sound.kind == sound_kind::pcm) l += n;
        if (sound.kind == sound_kind::adpcm) l += n / 8 * 4 + 4;
        if (sound.kind == sound_kind::companded) {
            const uint64_t c = n / 8 * 5 + 5;
            l += c % 9 == 0 ? c : c + 9;
        }
    }
    l += 4 * project.groups.size();
    for (const test_group& group : project.groups) l += 8 * std::max<uint64_t>(1, group.entries.size());
    return l;
}

test_sound mute(int ms) { return {sound_kind::silence, "", "--", ms}; }

}  // namespace

class SizeRule : public TonepackRun {
protected:
    test_sound sound(sound_kind kind, const std::string& name, const std::vector<uint8_t>& samples,
                     uint32_t rate = 8000) {
        return {kind, sound_wave(name, samples, rate), std::to_string(rate)};
    }

    // Runs the project and checks the output's size against the estimate.
    decoded_voice_data encoded_within_estimate(const test_project& project, bool exactly = false) {
        const child_result r = encode(project);
        EXPECT_EQ(r.exit_code, 0) << r.error_output;
        const uint64_t size = read_file(output).size();
        EXPECT_LE(size, estimate_without_offset(project));
        if (exactly) {
            EXPECT_EQ(size, estimate_without_offset(project));
        }
        return decoded();
    }
};

TEST_F(SizeRule, PlainPcmFillsTheEstimateExactly) {
    const auto a = noise_samples(1001, 1, 100);
    const auto b = sine_samples(7, 500, 11025, 90);
    test_project p;
    p.sounds = {sound(sound_kind::pcm, "a.wav", a), mute(250), sound(sound_kind::pcm, "b.wav", b, 11025),
                sound(sound_kind::pcm, "empty.wav", {}), sound(sound_kind::pcm, "unused.wav", {1, 2, 3})};
    p.groups.resize(5);
    p.groups[0].entries = {{0, true}, {1, false}, {0, false}};
    p.groups[2].entries = {{2, true}, {3, true}};
    p.groups[3].entries = {{0, true}};
    const decoded_voice_data voice = encoded_within_estimate(p, true);

    EXPECT_EQ(voice.offset, 0x600u);
    EXPECT_EQ(voice.last_group, 4u);
    ASSERT_EQ(voice.groups.size(), 5u);
    const auto& g1 = voice.groups[0].entries;
    ASSERT_EQ(g1.size(), 3u);
    EXPECT_EQ(g1[0].samples, a);
    EXPECT_TRUE(g1[0].busy);
    EXPECT_EQ(g1[1].kind, sound_kind::silence);
    EXPECT_EQ(g1[1].samples.size(), 2000u);
    EXPECT_FALSE(g1[1].busy);
    EXPECT_EQ(g1[2].address, g1[0].address);
    EXPECT_FALSE(g1[2].busy);
    for (const int empty : {1, 4}) {
        ASSERT_EQ(voice.groups[empty].entries.size(), 1u);
        EXPECT_EQ(voice.groups[empty].entries[0].samples, std::vector<uint8_t>(800, 128));
        EXPECT_FALSE(voice.groups[empty].entries[0].busy);
    }
    EXPECT_EQ(voice.groups[2].entries[0].samples, b);
    EXPECT_NEAR(voice.groups[2].entries[0].rate, 11025, 11025 * 0.001);
    EXPECT_TRUE(voice.groups[2].entries[1].samples.empty());
    EXPECT_EQ(voice.groups[3].entries[0].samples, a);
}

TEST_F(SizeRule, AdpcmProjectsStayWithinTheEstimate) {
    const auto speech = chirp_samples(8001, 150, 2500, 16000, 110);
    const auto tone = sine_samples(5003, 440, 8000, 100);
    test_project p;
    p.sounds = {sound(sound_kind::adpcm, "speech.wav", speech, 16000), mute(10),
                sound(sound_kind::pcm, "tone.wav", tone), sound(sound_kind::adpcm, "tone2.wav", tone)};
    p.groups.resize(3);
    p.groups[0].entries = {{0, true}, {1, false}, {3, true}, {0, false}};
    p.groups[2].entries = {{2, true}};
    p.groups[2].hold = true;
    const decoded_voice_data voice = encoded_within_estimate(p);
    EXPECT_FALSE(voice.companding);
    const auto& g1 = voice.groups[0].entries;
    EXPECT_EQ(g1[0].kind, sound_kind::adpcm);
    EXPECT_EQ(g1[0].samples.size(), speech.size());
    EXPECT_GT(snr_db(speech, g1[0].samples), 15);
    EXPECT_NEAR(g1[0].rate, 16000, 1);
    EXPECT_EQ(g1[1].samples.size(), 80u);
    EXPECT_GT(snr_db(tone, g1[2].samples), 25);
    EXPECT_EQ(g1[3].samples, g1[0].samples);
    EXPECT_EQ(voice.groups[2].entries[0].samples, tone);
    EXPECT_TRUE(voice.groups[2].hold);
}

TEST_F(SizeRule, CompandedProjectsStayWithinTheEstimate) {
    const auto tone = sine_samples(4000, 300, 8000, 120);
    test_project p;
    p.encoder_line = true;
    p.vout = false;
    p.sounds = {sound(sound_kind::companded, "tone.wav", tone), sound(sound_kind::pcm, "pcm.wav", tone), mute(60000)};
    p.groups.resize(2);
    p.groups[0].entries = {{0, true}, {2, true}};
    p.groups[1].entries = {{1, false}};
    const decoded_voice_data voice = encoded_within_estimate(p);
    EXPECT_TRUE(voice.companding);
    EXPECT_TRUE(voice.ramp);
    EXPECT_EQ(voice.compand_bits, 5);
    EXPECT_EQ(voice.compand_curve, 26);
    EXPECT_EQ(voice.groups[0].entries[0].kind, sound_kind::companded);
    EXPECT_GT(snr_db(tone, voice.groups[0].entries[0].samples), 20);
    EXPECT_EQ(voice.groups[0].entries[1].samples.size(), 480000u);
    EXPECT_EQ(voice.groups[1].entries[0].samples, tone);
}

TEST_F(SizeRule, EveryShortLengthOfEveryKind) {
    for (const bool companding : {false, true}) {
        test_project p;
        p.encoder_line = companding;
        p.groups.resize(1);
        for (size_t n = 0; n <= 17; ++n) {
            const auto samples = noise_samples(n, static_cast<uint32_t>(n), 100);
            const sound_kind kinds[] = {sound_kind::pcm, companding ? sound_kind::companded : sound_kind::adpcm};
            for (const sound_kind kind : kinds) {
                p.groups[0].entries.push_back({p.sounds.size(), true});
                p.sounds.push_back(sound(kind, std::to_string(p.sounds.size()) + ".wav", samples));
            }
        }
        const decoded_voice_data voice = encoded_within_estimate(p);
        for (size_t i = 0; i < p.sounds.size(); ++i)
            EXPECT_EQ(voice.groups[0].entries[i].samples.size(), i / 2) << i;
    }
}

TEST_F(SizeRule, ChunksBeforeTheDataDoNotCutTheSound) {
    // A recording tool's layout: a 26-byte LIST chunk between "fmt " and "data".
    const auto long_tone = sine_samples(4000, 440, 8000, 100);
    wave_spec listed;
    listed.extra_chunk = list_chunk("recorder 1.00");
    listed.data = long_tone;
    test_project p;
    p.sounds = {{sound_kind::pcm, wave("listed.wav", listed), "8000"},
                {sound_kind::adpcm, wave("listed2.wav", listed), "8000"}};
    p.groups.resize(1);
    p.groups[0].entries = {{0, true}, {1, true}};
    const child_result r = encode(p);
    ASSERT_EQ(r.exit_code, 0) << r.error_output;
    EXPECT_EQ(r.error_output, "");
    EXPECT_LE(read_file(output).size(), estimate_without_offset(p));
    const decoded_voice_data voice = decoded();
    EXPECT_EQ(voice.groups[0].entries[0].samples, long_tone);
    EXPECT_EQ(voice.groups[0].entries[1].samples.size(), long_tone.size());
}

TEST_F(SizeRule, ASoundIsItsDataChunkButNeverMoreThanTheFileHolds) {
    wave_spec grown;
    grown.data = noise_samples(500, 9, 100);
    grown.data_size_field = 0xFFFFFFF0;
    wave_spec claimed;
    claimed.data = noise_samples(300, 8, 100);
    claimed.data_size_field = 99999999;
    wave_spec trailing;
    trailing.data = noise_samples(300, 7, 100);
    trailing.data_size_field = 200;  // bytes after the chunk belong to no sound
    test_project p;
    p.sounds = {{sound_kind::pcm, wave("huge.wav", grown), "8000"},
                {sound_kind::companded, wave("claimed.wav", claimed), "8000"},
                {sound_kind::pcm, wave("trailing.wav", trailing), "8000"}};
    p.encoder_line = true;
    p.groups.resize(1);
    p.groups[0].entries = {{0, true}, {1, true}, {2, true}};
    const decoded_voice_data voice = encoded_within_estimate(p);
    EXPECT_EQ(voice.groups[0].entries[0].samples, grown.data);
    EXPECT_EQ(voice.groups[0].entries[1].samples.size(), 300u);
    EXPECT_EQ(voice.groups[0].entries[2].samples,
              std::vector<uint8_t>(trailing.data.begin(), trailing.data.begin() + 200));
}
