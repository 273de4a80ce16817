// The encoder takes every encoder script KovaStudio's writer makes: varied
// projects (every row type, both compressions, both clocks, both ramp
// settings, empty groups before and after the last one, repeated and unused
// items, paths with blanks, tabs and non-ASCII letters, sound files with a
// chunk before their data or a size claiming more than they hold) are written
// by the script writer, encoded by the real tonepack and decoded back into the
// project's groups, entries and sounds, within the memory estimate.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "child_process.h"
#include "encoder_script_files.h"
#include "memory_estimate.h"
#include "test_files.h"
#include "test_wave.h"
#include "voice_decoder.h"
#include "wave_header.h"

namespace {

struct setup {
    const char* name;
    std::string device_code;
    std::string output_type;
    std::string trigger_mode;
    std::string mode_code;
    int compression_index;
    std::string offset_text;
    uint32_t offset;
};

// A sound of the project: a WAV file, or a mute when `samples` is empty.
struct sound {
    std::string file;  // "" for a mute
    uint32_t rate = 8000;
    std::vector<uint8_t> samples;
    bool compressed = false;
    std::string mute_name;  // "Mute: 0250 mS"
    size_t mute_samples = 0;
    std::vector<uint8_t> chunk_before_data;  // for example a LIST chunk
    std::optional<uint32_t> size_field;      // a data size that claims more than the file holds
};

struct group {
    std::string edge, hold, retrigger;
    std::vector<std::pair<size_t, bool>> entries;  // sound index, busy
};

class EncoderCrossCheck : public ::testing::TestWithParam<setup> {
protected:
    std::string folder = test_folder();

    // The project's snapshot as the grids would give it, its WAV files written.
    project_snapshot snapshot(const std::vector<sound>& sounds, const std::vector<group>& groups,
                              size_t empty_rows) {
        const setup& s = GetParam();
        project_snapshot project;
        project.device_code = s.device_code;
        project.device_text = "device " + s.device_code;
        project.output_type = s.output_type;
        project.trigger_mode = s.trigger_mode;
        project.mode_code = s.mode_code;
        project.compression_index = s.compression_index;
        project.compression_text = s.compression_index == 0 ? "4-bit ADPCM" : "5-bit u-Law";
        for (size_t i = 0; i < sounds.size(); ++i) {
            const sound& one = sounds[i];
            sound_item item;
            item.id = "I" + std::string(4 - std::to_string(i + 1).size(), '0') + std::to_string(i + 1);
            if (one.file.empty()) {
                item.name = one.mute_name;
                item.rate = "--";
                item.size = "0";
                item.type = "Mute";
                item.path = "*Mute";
            } else {
                item.path = folder + "/" + one.file;
                wave_spec spec;
                spec.rate = one.rate;
                spec.data = one.samples;
                spec.extra_chunk = one.chunk_before_data;
                spec.data_size_field = one.size_field;
                write_file(item.path, wave_bytes(spec));
                item.name = one.file;
                item.rate = std::to_string(one.rate);
                item.type = one.compressed ? project.compression_text : "8-bit PCM";
                const uint32_t n = wave_data_size(item.path);
                item.size = std::to_string(one.compressed ? compressed_size(n, s.compression_index) : n);
            }
            project.items.push_back(item);
        }
        project.items.resize(project.items.size() + empty_rows);
        for (const group& g : groups) {
            voice_group row{g.edge, g.hold, g.retrigger, ""};
            for (const auto& [index, busy] : g.entries) row.item_list += project.items[index].id + (busy ? "1" : "0");
            project.groups.push_back(row);
        }
        return project;
    }

    // Writes the script, encodes it and decodes the voice data; checks the size against the estimate.
    decoded_voice_data encode(const project_snapshot& project, bool exactly_the_estimate) {
        const setup& s = GetParam();
        const std::string script = folder + "/Script.txt", output = folder + "/Script.mf0";
        EXPECT_EQ(write_script_files(project, s.offset_text, script, folder + "/Table.txt"), 0);
        const child_result run = run_child(std::string(KOVA_DIR) + "/bin/tonepack", {script, output});
        EXPECT_EQ(run.exit_code, 0) << run.error_output;
        EXPECT_EQ(run.error_output, "");
        const std::vector<uint8_t> data = read_file(output);

        memory_estimate_input estimate;
        estimate.offset_text = s.offset_text;
        for (const sound_item& item : project.items) estimate.size_cells.push_back(item.size);
        for (const voice_group& g : project.groups) estimate.group_item_lists.push_back(g.item_list);
        const int64_t room = estimate_bytes(estimate) - s.offset;
        EXPECT_LE(static_cast<int64_t>(data.size()), room);
        if (exactly_the_estimate) {
            EXPECT_EQ(static_cast<int64_t>(data.size()), room);
        }
        try {
            return decode_voice_data(data);
        } catch (const voice_data_error& error) {
            ADD_FAILURE() << error.what();
            return {};
        }
    }

    // Every group and entry of the decoded data against the project.
    void expect_project(const decoded_voice_data& voice, const std::vector<sound>& sounds,
                        const std::vector<group>& groups, uint32_t last_group) {
        const setup& s = GetParam();
        EXPECT_EQ(voice.offset, s.offset);
        EXPECT_EQ(voice.clock, s.device_code[0] == 'Y' ? 10000000u : 8000000u);
        EXPECT_EQ(voice.last_group, last_group);
        EXPECT_EQ(voice.ramp, s.output_type.find("VOUT") == std::string::npos);
        EXPECT_EQ(voice.companding, s.compression_index == 1);
        ASSERT_EQ(voice.groups.size(), groups.size());
        for (size_t g = 0; g < groups.size(); ++g) {
            SCOPED_TRACE("group " + std::to_string(g + 1));
            const decoded_group& got = voice.groups[g];
            EXPECT_EQ(got.edge, groups[g].edge == "Edge");
            EXPECT_EQ(got.hold, groups[g].hold == "Holdable");
            EXPECT_EQ(got.retrigger, groups[g].retrigger == "Retrigger");
            if (groups[g].entries.empty()) {
                ASSERT_EQ(got.entries.size(), 1u);
                EXPECT_EQ(got.entries[0].kind, sound_kind::silence);
                EXPECT_EQ(got.entries[0].samples.size(), 800u);
                EXPECT_FALSE(got.entries[0].busy);
                continue;
            }
            ASSERT_EQ(got.entries.size(), groups[g].entries.size());
            for (size_t e = 0; e < got.entries.size(); ++e) {
                const auto& [index, busy] = groups[g].entries[e];
                expect_entry(got.entries[e], sounds[index], busy);
            }
        }
    }

    void expect_entry(const decoded_entry& entry, const sound& one, bool busy) {
        const setup& s = GetParam();
        EXPECT_EQ(entry.busy, busy);
        if (one.file.empty()) {
            EXPECT_EQ(entry.kind, sound_kind::silence);
            EXPECT_EQ(entry.samples, std::vector<uint8_t>(one.mute_samples, 128));
            EXPECT_NEAR(entry.rate, 8000, 8);
            return;
        }
        EXPECT_NEAR(entry.rate, one.rate, one.rate / 1000.0);
        ASSERT_EQ(entry.samples.size(), one.samples.size());
        if (!one.compressed) {
            EXPECT_EQ(entry.kind, sound_kind::pcm);
            EXPECT_EQ(entry.samples, one.samples);
        } else {
            EXPECT_EQ(entry.kind, s.compression_index == 0 ? sound_kind::adpcm : sound_kind::companded);
            EXPECT_GT(snr_db(one.samples, entry.samples), 15);
        }
    }
};

sound wave_sound(const std::string& file, uint32_t rate, std::vector<uint8_t> samples, bool compressed) {
    sound one;
    one.file = file;
    one.rate = rate;
    one.samples = std::move(samples);
    one.compressed = compressed;
    return one;
}

sound mute(const std::string& name, size_t samples) {
    sound one;
    one.mute_name = name;
    one.mute_samples = samples;
    return one;
}

TEST_P(EncoderCrossCheck, EveryRowKindInGroupsOfEveryOptionIsEncodedAsWritten) {
    const std::vector<sound> sounds = {
        wave_sound("plain.wav", 8000, chirp_samples(1200, 100, 3000, 8000, 90), false),
        wave_sound("with blanks and\ttab.wav", 16000, sine_samples(2001, 500, 16000, 100), true),
        mute("Mute: 0250 mS", 2000),
        wave_sound("\xC3\xBC" "ber l\xC3\xA4nge.wav", 11025, sine_samples(1500, 300, 11025, 70), true),
        mute("Mute: 1 mS", 8),
        wave_sound("unused.wav", 22050, chirp_samples(900, 200, 5000, 22050, 60), false),
        wave_sound("unused too.wav", 8000, sine_samples(700, 250, 8000, 50), true),
    };
    const std::vector<group> groups = {
        {"Edge", "Holdable", "Retrigger", {{0, true}, {1, false}, {2, true}}},
        {"Level", "UnHoldable", "Non-Retrigger", {}},
        {"Level", "UnHoldable", "Retrigger", {{3, true}, {3, true}, {4, false}}},
        {"Edge", "UnHoldable", "Non-Retrigger", {{1, true}, {0, true}}},
        {"Level", "Holdable", "Non-Retrigger", {}},
        {"Edge", "Holdable", "Retrigger", {}},
    };
    const decoded_voice_data voice = encode(snapshot(sounds, groups, 22), false);
    expect_project(voice, sounds, groups, 4);
    // Entries of one sound share its data.
    if (!::testing::Test::HasFailure()) {
        EXPECT_EQ(voice.groups[2].entries[0].address, voice.groups[2].entries[1].address);
        EXPECT_EQ(voice.groups[0].entries[1].address, voice.groups[3].entries[0].address);
    }
}

TEST_P(EncoderCrossCheck, APlainProjectTakesExactlyWhatTheEstimateLeftForIt) {
    const std::vector<sound> sounds = {
        wave_sound("one.wav", 8000, sine_samples(3000, 440, 8000, 100), false),
        mute("Mute: 60000 mS", 480000),
        wave_sound("two.wav", 12000, chirp_samples(2500, 100, 5000, 12000, 90), false),
    };
    const std::vector<group> groups = {
        {"Level", "UnHoldable", "Non-Retrigger", {}},
        {"Level", "UnHoldable", "Non-Retrigger", {{2, false}, {1, true}, {0, true}}},
    };
    expect_project(encode(snapshot(sounds, groups, 1), true), sounds, groups, 2);
}

TEST_P(EncoderCrossCheck, TheListedSizeOfAnyLayoutIsWhatTheEncoderEncodes) {
    sound listed = wave_sound("listed.wav", 8000, sine_samples(8000, 440, 8000, 100), false);
    listed.chunk_before_data = list_chunk("recorder 1.00");
    sound claims = wave_sound("claims.wav", 11025, noise_samples(4000, 3, 90), false);
    claims.size_field = 99999999;
    const std::vector<sound> sounds = {listed, claims};
    const std::vector<group> groups = {{"Edge", "Holdable", "Retrigger", {{0, true}, {1, false}}}};
    const project_snapshot project = snapshot(sounds, groups, 0);
    EXPECT_EQ(project.items[0].size, "8000");
    EXPECT_EQ(project.items[1].size, "4000");
    expect_project(encode(project, true), sounds, groups, 1);
}

TEST_P(EncoderCrossCheck, ManyGroupsWithOnlyTheLastOneFilled) {
    const std::vector<sound> sounds = {wave_sound("last.wav", 8000, sine_samples(400, 440, 8000, 100), true)};
    std::vector<group> groups(255, group{"Level", "UnHoldable", "Non-Retrigger", {}});
    groups.back().entries = {{0, true}};
    expect_project(encode(snapshot(sounds, groups, 0), false), sounds, groups, 255);
}

INSTANTIATE_TEST_SUITE_P(
    Setups, EncoderCrossCheck,
    ::testing::Values(setup{"Y1AdpcmDacKeySequential", "Y1", "COUT[DAC]", "Key Sequential", "2", 0, "4C0", 0x4C0},
                      setup{"Y3CompandedPwmKeySingle", "Y3", "VOUT[PWM] - Level 2", "Key Single", "1", 1, "780",
                            0x780},
                      setup{"Z6CompandedDacAddress", "Z6", "COUT[DAC]", "Address Trigger", "8", 1, "BC0", 0xBC0},
                      setup{"Z1AdpcmPwmSerialCommand", "Z1", "VOUT[PWM] - Level 1", "CPU Serial Command", "5", 0,
                            "580", 0x580},
                      setup{"Z4AdpcmPwmAddress", "Z4", "VOUT[PWM] - Level 3", "Address Trigger", "8", 0, "980", 0x980}),
    [](const ::testing::TestParamInfo<setup>& info) { return std::string(info.param.name); });

}  // namespace
