// Compiling a voice project end to end with the real encoder, image builder
// and image checker: the files each step writes, the DAT image they make (it
// verifies, names its chip, carries the option bytes and the voice data that
// decodes back to the project's sounds) and the report beside it.
#include "compile_fixture.h"
#include "project_entry.h"
#include "test_files.h"
#include "test_wave.h"
#include "voice_decoder.h"

#include <cmath>
#include <span>

namespace {

const std::string kScriptRule = ";" + std::string(79, '-');
const std::string kThin(80, '-');
const std::string kThick(80, '=');

std::string lines(const std::vector<std::string>& all) {
    std::string text;
    for (const std::string& line : all) text += line + "\r\n";
    return text;
}

class CompileEndToEnd : public compile_test {
protected:
    // Checks the DAT image and its report, and returns the voice data decoded from ROM address `offset`.
    decoded_voice_data check_compiled(const std::string& dat, const std::string& report, const std::string& device,
                                      const std::string& model, const std::string& rom_size, uint32_t offset,
                                      uint8_t option0, uint8_t option1) {
        const checker_verdict verdict = check_image(dat, rom_size);
        EXPECT_EQ(verdict.exit_code, 0);
        EXPECT_EQ(verdict.checksum.size(), 4u);
        EXPECT_EQ(read_text(report), lines({kThick,
                                            "=                ZORVA Inc KOVA DAT Setup File Ver: 2.0.0"
                                            "                      =",
                                            kThick, "Device      : " + device, "Output File : " + dat,
                                            "Check Sum   : " + verdict.checksum}) +
                                         temp_text("Table.txt"));

        const rom_image rom = read_rom_image(dat);
        EXPECT_TRUE(rom.valid);
        EXPECT_NE(rom.text_header.find(model), std::string::npos) << "no model " << model << " in the text header";
        if (rom.bytes.size() < offset) {
            ADD_FAILURE() << "the ROM image ends before the voice data";
            return {};
        }
        std::vector<uint8_t> expected_options(32, 0xFF);
        expected_options[0] = option0;
        expected_options[1] = option1;
        EXPECT_EQ(std::vector<uint8_t>(rom.bytes.begin() + offset - 32, rom.bytes.begin() + offset), expected_options);
        const std::span<const uint8_t> voice(rom.bytes.data() + offset, rom.bytes.size() - offset);
        try {
            const decoded_voice_data decoded = decode_voice_data(voice);
            EXPECT_EQ(decoded.offset, offset);
            // The voice data is the image's last part.
            EXPECT_EQ(decoded.length, voice.size());
            return decoded;
        } catch (const voice_data_error& error) {
            ADD_FAILURE() << "voice data at " << offset << ": " << error.what();
            return {};
        }
    }
};

void expect_rate(const decoded_entry& entry, double rate) { EXPECT_NEAR(entry.rate, rate, rate / 1000); }

void expect_silence(const decoded_entry& entry, size_t samples, bool busy) {
    EXPECT_EQ(entry.kind, sound_kind::silence);
    EXPECT_EQ(entry.samples, std::vector<uint8_t>(samples, 128));
    EXPECT_EQ(entry.busy, busy);
    expect_rate(entry, 8000);
}

void expect_group(const decoded_group& group, bool edge, bool hold, bool retrigger, size_t entries) {
    EXPECT_EQ(group.edge, edge);
    EXPECT_EQ(group.hold, hold);
    EXPECT_EQ(group.retrigger, retrigger);
    EXPECT_EQ(group.entries.size(), entries);
}

TEST_F(CompileEndToEnd, KeySequentialAdpcmProjectOnA3kDevice) {
    TForm1& main = start_studio();
    project_entry project(main, record);
    project.choose_setup("KOVA3K10", "Key Sequential", "VOUT[PWM] - Level 2", "4-bit ADPCM");
    const std::vector<uint8_t> tone = sine_samples(3000, 440, 8000, 100);
    const std::vector<uint8_t> chirp = chirp_samples(5000, 200, 6000, 16000, 90);
    const std::vector<uint8_t> low = sine_samples(4001, 300, 11025, 80);
    const QString tone_path = wave("tone.wav", tone, 8000);
    const QString chirp_path = wave("chirp.wav", chirp, 16000);
    const QString low_path = wave("low tone.wav", low, 11025);
    const int tone_row = project.add_wave_file(tone_path);
    project.compress_row(tone_row);
    const int chirp_row = project.add_wave_file(chirp_path);
    const int mute_row = project.add_mute("250");
    const int low_row = project.add_wave_file(low_path);
    project.compress_row(low_row);
    project.set_group_options(1, true, true, true);
    project.put_into_group(tone_row, 1);
    project.put_into_group(mute_row, 1, false);
    project.put_into_group(low_row, 3);
    project.put_into_group(chirp_row, 3);

    expect_box("Warning!", kWarningOtherDevices, IDOK);
    const std::string dat = out + "hello.dat";
    click_compile(main, dat);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].flags, unsigned{MB_ICONINFORMATION});
    EXPECT_EQ(record.boxes[0].owner, &main);
    ASSERT_FALSE(record.dialog_filters.empty());
    EXPECT_EQ(record.dialog_filters.back(), "DAT file(*.dat)|*.dat");
    EXPECT_EQ(record.sounds, (std::vector<QString>{"SYSTEMDEFAULT", "SYSTEMDEFAULT"}));
    EXPECT_TRUE(main.BT_Compile->isEnabled());

    const std::string t = tone_path.toStdString(), c = chirp_path.toStdString(), l = low_path.toStdString();
    EXPECT_EQ(temp_text("Script.txt"),
              lines({".Define        FS      = 8000", kScriptRule, ".Silence       DefSil  = ((100 * FS)/1000)",
                     ".ADPCM\t\t     I0001\t\t= \"" + t + "\"", ".PCM\t\t\t     I0002 \t\t= \"" + c + "\"",
                     ".Silence\t\t     I0003\t\t= ((250 * FS)/1000)", ".ADPCM\t\t     I0004\t\t= \"" + l + "\"",
                     kScriptRule, ".Global         $Rck        = 10000000", ".Global        $Offset = 4C0h",
                     ".Global        $RampEn = \"No\"", ".Global        $SbtMax = 3", kScriptRule,
                     ".Section[1] $Edge   =\t\"Yes\"", ".Section[1] $Hold   =\t\"Yes\"",
                     ".Section[1] $ReTrg  =\t\"Yes\"", "", ".Section[1] $Groups =    I0001  (8000) :1",
                     ".Section[1] $Groups =    I0003  (8000) :0", kScriptRule,
                     ".Section[2] $Edge   =\t\"No\"", ".Section[2] $Hold   =\t\"No\"",
                     ".Section[2] $ReTrg  =\t\"No\"", "", ".Section[2] $Groups =    DefSil  (8000) :0", kScriptRule,
                     ".Section[3] $Edge   =\t\"No\"", ".Section[3] $Hold   =\t\"No\"",
                     ".Section[3] $ReTrg  =\t\"No\"", "", ".Section[3] $Groups =    I0004 (11025) :1",
                     ".Section[3] $Groups =    I0002 (16000) :1", kScriptRule,
                     ".Section[4] $Edge   =\t\"No\"", ".Section[4] $Hold   =\t\"No\"",
                     ".Section[4] $ReTrg  =\t\"No\"", "", ".Section[4] $Groups =    DefSil  (8000) :0",
                     kScriptRule}));
    EXPECT_EQ(temp_text("Table.txt"),
              lines({"[Source]    [Type]        [Rate]    [File path or Mute time]", kThin,
                     " I0001       4-bit ADPCM   8000      " + t, " I0002       8-bit PCM     16000     " + c,
                     " I0003       Mute          --        Mute: 250 mS", " I0004       4-bit ADPCM   11025     " + l,
                     kThick, "Ramp-Type   : VOUT[PWM] - Level 2", "Mode        : Key Sequential(Y122)",
                     "Output      : Busy-High(PB1)", kThick,
                     "[Group:   1]   [Edge]    [Holdable]    [Retrigger]", kThin, " I0001     " + t,
                     " I0003     Mute: 250 mS", kThick,
                     "[Group:   2]   [Level]   [Unholdable]  [Non-Retrigger]", kThin, " (None)", kThick,
                     "[Group:   3]   [Level]   [Unholdable]  [Non-Retrigger]", kThin, " I0004     " + l,
                     " I0002     " + c, kThick,
                     "[Group:   4]   [Level]   [Unholdable]  [Non-Retrigger]", kThin, " (None)", kThick}));

    const decoded_voice_data voice =
        check_compiled(dat, out + "hello.log", "KOVA3K10", "KOVA3k10", "008000", 0x4C0, 0x2C, 0xFF);
    EXPECT_EQ(voice.clock, 10000000u);
    EXPECT_EQ(voice.last_group, 3u);
    EXPECT_FALSE(voice.ramp);
    EXPECT_FALSE(voice.companding);
    ASSERT_EQ(voice.groups.size(), 4u);
    expect_group(voice.groups[0], true, true, true, 2);
    expect_group(voice.groups[1], false, false, false, 1);
    expect_group(voice.groups[2], false, false, false, 2);
    expect_group(voice.groups[3], false, false, false, 1);
    if (::testing::Test::HasFailure()) return;

    const decoded_entry& first = voice.groups[0].entries[0];
    EXPECT_EQ(first.kind, sound_kind::adpcm);
    EXPECT_TRUE(first.busy);
    expect_rate(first, 8000);
    ASSERT_EQ(first.samples.size(), tone.size());
    EXPECT_GT(snr_db(tone, first.samples), 20);
    expect_silence(voice.groups[0].entries[1], 2000, false);
    expect_silence(voice.groups[1].entries[0], 800, false);
    const decoded_entry& low_entry = voice.groups[2].entries[0];
    EXPECT_EQ(low_entry.kind, sound_kind::adpcm);
    expect_rate(low_entry, 11025);
    ASSERT_EQ(low_entry.samples.size(), low.size());
    EXPECT_GT(snr_db(low, low_entry.samples), 20);
    const decoded_entry& chirp_entry = voice.groups[2].entries[1];
    EXPECT_EQ(chirp_entry.kind, sound_kind::pcm);
    EXPECT_TRUE(chirp_entry.busy);
    expect_rate(chirp_entry, 16000);
    EXPECT_EQ(chirp_entry.samples, chirp);
    expect_silence(voice.groups[3].entries[0], 800, false);
}

TEST_F(CompileEndToEnd, KeySingleCompandedProjectOnTheLargeDevice) {
    TForm1& main = start_studio();
    project_entry project(main, record);
    project.choose_setup("KOVA341", "Key Single", "VOUT[PWM] - Level 6", "5-bit u-Law");
    const std::vector<uint8_t> voice_a = sine_samples(4000, 500, 8000, 100);
    const std::vector<uint8_t> voice_b = sine_samples(6000, 700, 22050, 90);
    const std::vector<uint8_t> click_c = chirp_samples(2500, 100, 3500, 8000, 70);
    const QString a_path = wave("voice a.wav", voice_a, 8000);
    const QString b_path = wave("b.wav", voice_b, 22050);
    const QString c_path = wave("c.wav", click_c, 8000);
    const int a_row = project.add_wave_file(a_path);
    project.compress_row(a_row);
    const int mute_row = project.add_mute("0150");
    const int b_row = project.add_wave_file(b_path);
    project.compress_row(b_row);
    const int c_row = project.add_wave_file(c_path);
    project.put_into_group(b_row, 1);
    project.put_into_group(a_row, 1, false);
    project.put_into_group(b_row, 1);
    project.set_group_options(2, true, false, true);
    project.put_into_group(mute_row, 2);
    project.put_into_group(c_row, 2, false);

    expect_box("Warning!", kWarningZ6, IDOK);
    const std::string dat = out + "large.dat";
    click_compile(main, dat);
    EXPECT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.sounds.back(), "SYSTEMDEFAULT");

    const std::vector<std::string> script = crlf_split(temp_text("Script.txt"));
    const std::string a = a_path.toStdString(), b = b_path.toStdString(), c = c_path.toStdString();
    ASSERT_GE(script.size(), 17u);
    EXPECT_EQ(std::vector<std::string>(script.begin() + 3, script.begin() + 17),
              (std::vector<std::string>{".EQ01\t\t         I0001\t\t= \"" + a + "\"",
                                        ".Silence\t\t     I0002\t\t= ((150 * FS)/1000)",
                                        ".EQ01\t\t         I0003\t\t= \"" + b + "\"",
                                        ".PCM\t\t\t     I0004 \t\t= \"" + c + "\"", kScriptRule,
                                        ".Global         $Rck        = 8000000", ".Global        $Offset = A80h",
                                        ".Global        $Encoder    = 5 \"EQ01\" 26", ".Global        $RampEn = \"No\"",
                                        ".Global        $SbtMax = 2", kScriptRule, ".Section[1] $Edge   =\t\"No\"",
                                        ".Section[1] $Hold   =\t\"No\"", ".Section[1] $ReTrg  =\t\"No\""}));
    const std::vector<std::string> table = crlf_split(temp_text("Table.txt"));
    ASSERT_GE(table.size(), 11u);
    EXPECT_EQ(table[3], " I0002       Mute          --        Mute: 150 mS");
    EXPECT_EQ(table[4], " I0003       5-bit u-Law   22050     " + b);
    EXPECT_EQ(table[7], "Ramp-Type   : VOUT[PWM] - Level 6");
    EXPECT_EQ(table[8], "Mode        : Key Single(Z671)");
    EXPECT_EQ(table[9], "Output      : N.C.");

    const decoded_voice_data voice =
        check_compiled(dat, out + "large.log", "KOVA341", "KOVA341", "100000", 0xA80, 0x08, 0x7C);
    EXPECT_EQ(voice.clock, 8000000u);
    EXPECT_EQ(voice.last_group, 2u);
    EXPECT_FALSE(voice.ramp);
    EXPECT_TRUE(voice.companding);
    EXPECT_EQ(voice.compand_bits, 5);
    EXPECT_EQ(voice.compand_curve, 26);
    ASSERT_EQ(voice.groups.size(), 16u);
    expect_group(voice.groups[0], false, false, false, 3);
    expect_group(voice.groups[1], true, false, true, 2);
    for (size_t g = 2; g < 16; ++g) {
        expect_group(voice.groups[g], false, false, false, 1);
        if (voice.groups[g].entries.size() == 1) expect_silence(voice.groups[g].entries[0], 800, false);
    }
    if (::testing::Test::HasFailure()) return;

    const decoded_entry& b_entry = voice.groups[0].entries[0];
    EXPECT_EQ(b_entry.kind, sound_kind::companded);
    expect_rate(b_entry, 22050);
    ASSERT_EQ(b_entry.samples.size(), voice_b.size());
    EXPECT_GT(snr_db(voice_b, b_entry.samples), 18);
    // The same sound twice in a group is stored once.
    EXPECT_EQ(voice.groups[0].entries[2].address, b_entry.address);
    EXPECT_TRUE(voice.groups[0].entries[2].busy);
    const decoded_entry& a_entry = voice.groups[0].entries[1];
    EXPECT_EQ(a_entry.kind, sound_kind::companded);
    EXPECT_FALSE(a_entry.busy);
    ASSERT_EQ(a_entry.samples.size(), voice_a.size());
    EXPECT_GT(snr_db(voice_a, a_entry.samples), 18);
    expect_silence(voice.groups[1].entries[0], 1200, true);
    const decoded_entry& c_entry = voice.groups[1].entries[1];
    EXPECT_EQ(c_entry.kind, sound_kind::pcm);
    EXPECT_FALSE(c_entry.busy);
    EXPECT_EQ(c_entry.samples, click_c);
}

}  // namespace
