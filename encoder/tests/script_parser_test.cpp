// The encoder script reader: the lines KovaStudio writes are read into the
// project they describe, and every other form is refused at its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_parser.h"
#include "test_script.h"

namespace {

const std::string kRule = ";" + std::string(79, '-');

// A script as KovaStudio writes it, typed out: a 16 kHz sound used twice, a
// 250 ms mute, an empty group before the last group with items, and an empty
// group after it.
const std::string kWrittenScript =
    ".Define        FS      = 8000\r\n" + kRule + "\r\n" +
    ".Silence       DefSil  = ((100 * FS)/1000)\r\n"
    ".PCM\t\t\t     I0001 \t\t= \"/home/u/hello.wav\"\r\n"
    ".Silence\t\t     I0002\t\t= ((250 * FS)/1000)\r\n"
    ".ADPCM\t\t     I0003\t\t= \"/home/u/two words.wav\"\r\n" +
    kRule + "\r\n" +
    ".Global         $Rck        = 10000000\r\n"
    ".Global        $Offset = 600h\r\n"
    ".Global        $RampEn = \"No\"\r\n"
    ".Global        $SbtMax = 3\r\n" +
    kRule + "\r\n" +
    ".Section[1] $Edge   =\t\"Yes\"\r\n"
    ".Section[1] $Hold   =\t\"Yes\"\r\n"
    ".Section[1] $ReTrg  =\t\"Yes\"\r\n"
    "\r\n"
    ".Section[1] $Groups =    I0001 (16000) :1\r\n"
    ".Section[1] $Groups =    I0002  (8000) :0\r\n"
    ".Section[1] $Groups =    I0001 (16000) :0\r\n" +
    kRule + "\r\n" +
    ".Section[2] $Edge   =\t\"No\"\r\n"
    ".Section[2] $Hold   =\t\"No\"\r\n"
    ".Section[2] $ReTrg  =\t\"No\"\r\n"
    "\r\n"
    ".Section[2] $Groups =    DefSil  (8000) :0\r\n" +
    kRule + "\r\n" +
    ".Section[3] $Edge   =\t\"No\"\r\n"
    ".Section[3] $Hold   =\t\"Yes\"\r\n"
    ".Section[3] $ReTrg  =\t\"No\"\r\n"
    "\r\n"
    ".Section[3] $Groups =    I0003  (8000) :1\r\n" +
    kRule + "\r\n" +
    ".Section[4] $Edge   =\t\"Yes\"\r\n"
    ".Section[4] $Hold   =\t\"No\"\r\n"
    ".Section[4] $ReTrg  =\t\"Yes\"\r\n"
    "\r\n"
    ".Section[4] $Groups =    DefSil  (8000) :0\r\n" +
    kRule + "\r\n";

// The written script's lines without CR LF, for changing one of them.
std::vector<std::string> written_lines() {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = kWrittenScript.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(kWrittenScript.substr(from, at - from));
    return lines;
}

// The line number the reader refuses `text` at; 0 when it accepts it.
int refused_at(const std::string& text) {
    const script_parse_result result = parse_encoder_script(text);
    if (!result.error) return 0;
    EXPECT_EQ(describe(*result.error).rfind("line " + std::to_string(result.error->line) + ": ", 0), 0u);
    return result.error->line;
}

std::string message_of(const std::string& text) {
    const script_parse_result result = parse_encoder_script(text);
    return result.error ? result.error->message : "";
}

// The written script with line `number` (from 1) replaced.
std::string with_line(int number, const std::string& line) {
    auto lines = written_lines();
    lines.at(number - 1) = line;
    return script_text(lines);
}

// The written script with `line` inserted to become line `number`.
std::string with_inserted(int number, const std::string& line) {
    auto lines = written_lines();
    lines.insert(lines.begin() + (number - 1), line);
    return script_text(lines);
}

}  // namespace

TEST(ScriptParser, ReadsTheWrittenScript) {
    const script_parse_result result = parse_encoder_script(kWrittenScript);
    ASSERT_FALSE(result.error) << describe(*result.error);
    const encoder_script& s = result.script;
    ASSERT_EQ(s.sounds.size(), 3u);
    EXPECT_EQ(s.sounds[0].id, "I0001");
    EXPECT_EQ(s.sounds[0].kind, sound_kind::pcm);
    EXPECT_EQ(s.sounds[0].path, "/home/u/hello.wav");
    EXPECT_EQ(s.sounds[1].kind, sound_kind::silence);
    EXPECT_EQ(s.sounds[1].mute_ms, 250u);
    EXPECT_EQ(s.sounds[2].kind, sound_kind::adpcm);
    EXPECT_EQ(s.sounds[2].path, "/home/u/two words.wav");
    EXPECT_EQ(s.sounds[2].line, 6);
    EXPECT_EQ(s.clock_hz, 10000000u);
    EXPECT_EQ(s.offset, 0x600u);
    EXPECT_FALSE(s.companding);
    EXPECT_FALSE(s.ramp);
    EXPECT_EQ(s.last_group, 3u);

    ASSERT_EQ(s.groups.size(), 4u);
    const script_group& g1 = s.groups[0];
    EXPECT_TRUE(g1.edge && g1.hold && g1.retrigger);
    ASSERT_EQ(g1.entries.size(), 3u);
    EXPECT_EQ(g1.entries[0].sound, 0);
    EXPECT_EQ(g1.entries[0].rate, 16000u);
    EXPECT_TRUE(g1.entries[0].busy);
    EXPECT_EQ(g1.entries[1].sound, 1);
    EXPECT_EQ(g1.entries[1].rate, 8000u);
    EXPECT_FALSE(g1.entries[1].busy);
    EXPECT_EQ(g1.entries[2].sound, 0);
    EXPECT_FALSE(g1.entries[2].busy);
    EXPECT_EQ(g1.entries[2].line, 19);

    const script_group& g2 = s.groups[1];
    EXPECT_FALSE(g2.edge || g2.hold || g2.retrigger);
    ASSERT_EQ(g2.entries.size(), 1u);
    EXPECT_EQ(g2.entries[0].sound, -1);  // the default silence

    EXPECT_TRUE(!s.groups[2].edge && s.groups[2].hold && !s.groups[2].retrigger);
    EXPECT_EQ(s.groups[2].entries[0].sound, 2);
    EXPECT_TRUE(s.groups[3].edge && !s.groups[3].hold && s.groups[3].retrigger);
    EXPECT_EQ(s.groups[3].entries[0].sound, -1);
}

TEST(ScriptParser, ReadsTheOtherSettingsKovaStudioWrites) {
    auto lines = written_lines();
    lines[5] = ".EQ01\t\t         I0003\t\t= \"/home/u/two words.wav\"";
    lines[7] = ".Global         $Rck        = 8000000";
    lines[8] = ".Global        $Offset = 01a0Fh";
    lines.insert(lines.begin() + 9, ".Global        $Encoder    = 5 \"EQ01\" 26");
    lines[10] = ".Global        $RampEn = \"Yes\"";
    const script_parse_result result = parse_encoder_script(script_text(lines));
    ASSERT_FALSE(result.error) << describe(*result.error);
    EXPECT_EQ(result.script.sounds[2].kind, sound_kind::companded);
    EXPECT_EQ(result.script.clock_hz, 8000000u);
    EXPECT_EQ(result.script.offset, 0x1A0Fu);
    EXPECT_TRUE(result.script.companding);
    EXPECT_TRUE(result.script.ramp);
}

TEST(ScriptParser, PathsAreTakenWholeBetweenTheOuterQuotes) {
    for (const std::string path : {"/x/say \"hi\".wav", "/x/tab\there.wav", "/x/cr\rinside.wav", "rel/a.wav", "\""}) {
        const script_parse_result result =
            parse_encoder_script(with_line(4, ".PCM\t\t\t     I0001 \t\t= \"" + path + "\""));
        ASSERT_FALSE(result.error) << path << ": " << describe(*result.error);
        EXPECT_EQ(result.script.sounds[0].path, path);
    }
}

TEST(ScriptParser, RatesWiderThanTheColumnAndGroupNumbersOfTwoDigits) {
    test_project project;
    project.sounds = {{sound_kind::pcm, "/x/a.wav", "1000000"}, {sound_kind::pcm, "/x/b.wav", "11025"}};
    project.groups.resize(10);
    project.groups[9].entries = {{0, true}, {1, false}};
    const std::vector<std::string> lines = script_lines(project);
    EXPECT_EQ(lines[lines.size() - 3], ".Section[10] $Groups =    I0001(1000000) :1");
    EXPECT_EQ(lines[lines.size() - 2], ".Section[10] $Groups =    I0002 (11025) :0");
    const script_parse_result result = parse_encoder_script(script_text(lines));
    ASSERT_FALSE(result.error) << describe(*result.error);
    EXPECT_EQ(result.script.last_group, 10u);
    EXPECT_EQ(result.script.groups[9].entries[0].rate, 1000000u);
    for (size_t g = 0; g < 9; ++g) EXPECT_EQ(result.script.groups[g].entries[0].sound, -1);
}

TEST(ScriptParser, MuteTimesFromOneToSixtyThousand) {
    for (const auto& [text, ms] : std::vector<std::pair<std::string, uint32_t>>{{"1", 1}, {"60000", 60000}}) {
        const script_parse_result result =
            parse_encoder_script(with_line(5, ".Silence\t\t     I0002\t\t= ((" + text + " * FS)/1000)"));
        ASSERT_FALSE(result.error) << describe(*result.error);
        EXPECT_EQ(result.script.sounds[1].mute_ms, ms);
    }
    for (const std::string text : {"0", "60001", "0250", "-5", "+5", "abc", "", "99999999999999999999"})
        EXPECT_EQ(refused_at(with_line(5, ".Silence\t\t     I0002\t\t= ((" + text + " * FS)/1000)")), 5) << text;
}

TEST(ScriptParser, EachFixedLineIsRefusedWhenItDiffers) {
    const std::string pcm_tail = "\t\t= \"/home/u/hello.wav\"";
    const std::vector<std::pair<int, std::string>> cases = {
        {1, ".Define        FS      = 8001"},
        {1, ".Define\tFS\t= 8000"},
        {1, ".define        FS      = 8000"},
        {1, "\xEF\xBB\xBF.Define        FS      = 8000"},
        {2, ";" + std::string(78, '-')},
        {2, ";" + std::string(80, '-')},
        {3, ".Silence       DefSil  = ((200 * FS)/1000)"},
        {3, ".Silence       DefSil  = ((100 * FS)/1000) "},
        {4, ".PCM\t\t\t     I0001\t\t= \"/home/u/hello.wav\""},          // no blank before the tabs
        {4, ".PCM\t\t     I0001 " + pcm_tail},                              // two tabs, not three
        {4, ".PCM            I0001 " + pcm_tail},                           // blanks for tabs
        {4, ".PCM\t\t\t    I0001 " + pcm_tail},                             // four blanks, not five
        {4, ".PCM\t\t\t     I001 " + pcm_tail},
        {4, ".PCM\t\t\t     J0001 " + pcm_tail},
        {4, ".PCM\t\t\t     I0001 \t\t= \"/home/u/hello.wav"},
        {4, ".PCM\t\t\t     I0001 \t\t= \"/home/u/hello.wav\" "},
        {4, ".PCM\t\t\t     I0001 \t\t= \"\""},
        {4, ".PCM\t\t\t     I0001 \t\t= /home/u/hello.wav"},
        {5, ".Silence\t\t     I0002\t\t= ((250 * FS)/1000) "},
        {5, ".Silence\t\t     I0002\t\t= ((250 * FS)/100)"},
        {5, ".Silence \t\t     I0002\t\t= ((250 * FS)/1000)"},
        {6, ".ADPCM\t\t    I0003\t\t= \"/home/u/two words.wav\""},
        {6, ".ADPCM\t\t     I0003 \t\t= \"/home/u/two words.wav\""},
        {6, ".EQ01\t\t     I0003\t\t= \"/home/u/two words.wav\""},        // five blanks belong to .ADPCM
        {7, ";" + std::string(79, '=')},
        {8, ".Global         $Rck        = 12000000"},
        {8, ".Global         $Rck        = 010000000"},
        {8, ".Global        $Rck        = 10000000"},
        {9, ".Global        $Offset = 600"},
        {9, ".Global        $Offset = 0x600h"},
        {9, ".Global        $Offset = 6G0h"},
        {9, ".Global        $Offset = h"},
        {9, ".Global        $Offset = 100000000h"},
        {9, ".Global         $Offset = 600h"},
        {10, ".Global        $RampEn = \"no\""},
        {10, ".Global        $RampEn = Yes"},
        {10, ".Global        $Encoder    = 4 \"EQ01\" 26"},
        {11, ".Global        $SbtMax = 03"},
        {11, ".Global        $SbtMax = 0"},
        {11, ".Global        $SbtMax = 2"},   // group 3 holds items
        {11, ".Global        $SbtMax = 4"},   // group 4 is empty
        {12, ";" + std::string(79, '-') + " "},
        {13, ".Section[2] $Edge   =\t\"Yes\""},
        {13, ".Section[1] $Edge  =\t\"Yes\""},
        {13, ".Section[1] $Edge   = \"Yes\""},
        {13, ".Section[1] $Edge   =\t\"YES\""},
        {13, ".Section[01] $Edge   =\t\"Yes\""},
        {14, ".Section[1] $Edge   =\t\"Yes\""},
        {15, ".Section[1] $ReTrg   =\t\"Yes\""},
        {16, " "},
        {17, ".Section[1] $Groups =   I0001 (16000) :1"},
        {17, ".Section[1] $Groups =    I0001  (16000) :1"},  // 16000 fills the column but one
        {17, ".Section[1] $Groups =    I0001(16000) :1"},
        {17, ".Section[1] $Groups =    I0001 (16000) :2"},
        {17, ".Section[1] $Groups =    I0001 (16000) : 1"},
        {17, ".Section[1] $Groups =    I0001 (16000):1"},
        {17, ".Section[1] $Groups =    I0001 (16000) :1 "},
        {17, ".Section[1] $Groups =    I0001 (16000)"},
        {17, ".Section[1] $Groups =    I0009 (16000) :1"},  // no such item
        {17, ".Section[1] $Groups =    I0001 (-1600) :1"},
        {17, ".Section[1] $Groups =    I0001     (0) :1"},
        {17, ".Section[1] $Groups =    I0001  (1000) :1"},  // a divider of 10000: too slow for the clock
        {17, ".Section[2] $Groups =    I0001 (16000) :1"},
        {18, ".Section[1] $Groups =    I0002 (16000) :0"},  // a mute plays at 8000
        {18, ".Section[1] $Groups =    DefSil  (8000) :0"}, // only alone, in an empty group
        {25, ".Section[2] $Groups =    DefSil  (8000) :1"},
        {25, ".Section[2] $Groups =   DefSil  (8000) :0"},
        {25, ".Section[2] $Groups =    DefSil (8000) :0"},
        {25, ".Section[2] $Groups =    DefSil  (16000) :0"},
        {33, ".Section[5] $Edge   =\t\"Yes\""},
    };
    for (const auto& [line, text] : cases) EXPECT_EQ(refused_at(with_line(line, text)), line) << text;
}

TEST(ScriptParser, UnknownDirectivesAndMisplacedLines) {
    EXPECT_EQ(refused_at(with_line(6, ".WAV\t\t     I0003\t\t= \"/home/u/two words.wav\"")), 6);
    EXPECT_NE(message_of(with_line(6, ".WAV\t\t     I0003\t\t= \"x\"")).find("unknown directive \".WAV\""),
              std::string::npos);
    EXPECT_EQ(refused_at(with_line(6, "")), 6);
    EXPECT_EQ(refused_at(with_inserted(7, ".Global        $Offset = 600h")), 7);
    EXPECT_EQ(refused_at(with_inserted(10, ".Global        $Offset = 600h")), 10);
    EXPECT_EQ(refused_at(with_inserted(13, "")), 13);
    EXPECT_EQ(refused_at(with_inserted(17, ".Section[1] $Edge   =\t\"Yes\"")), 17);
    // A group without a single $Groups line, not even DefSil.
    EXPECT_EQ(refused_at(with_inserted(17, kRule)), 17);
    // Entries after DefSil, and DefSil after entries.
    EXPECT_EQ(refused_at(with_inserted(26, ".Section[2] $Groups =    I0001 (16000) :1")), 26);
    EXPECT_EQ(refused_at(with_inserted(20, ".Section[1] $Groups =    DefSil  (8000) :0")), 20);
}

TEST(ScriptParser, LinesEndWithCarriageReturnAndLineFeed) {
    std::string text = kWrittenScript;
    // Line 5 ends with LF alone.
    size_t at = 0;
    for (int i = 0; i < 5; ++i) at = text.find("\r\n", at) + 2;
    text.erase(at - 2, 1);
    EXPECT_EQ(refused_at(text), 5);
    EXPECT_NE(message_of(text).find("CR LF"), std::string::npos);

    std::string lf_only;
    for (char c : kWrittenScript)
        if (c != '\r') lf_only += c;
    EXPECT_EQ(refused_at(lf_only), 1);

    EXPECT_EQ(refused_at(kWrittenScript.substr(0, kWrittenScript.size() - 2)), 38);  // no line end at the end
    EXPECT_EQ(refused_at(kWrittenScript.substr(0, kWrittenScript.size() - 1)), 38);  // CR without LF
    EXPECT_EQ(refused_at(with_line(1, ".Define        FS\r      = 8000")), 1);
    EXPECT_EQ(refused_at(std::string(".Define        FS      = 8000\n\r\n")), 1);
}

TEST(ScriptParser, TheScriptEndsAfterTheLastGroup) {
    EXPECT_EQ(refused_at(""), 1);
    EXPECT_EQ(refused_at(kWrittenScript + "\r\n"), 39);
    EXPECT_EQ(refused_at(kWrittenScript + "x"), 39);
    auto lines = written_lines();
    lines.pop_back();  // the last group's rule
    EXPECT_EQ(refused_at(script_text(lines)), 38);
    EXPECT_NE(message_of(script_text(lines)).find("ends"), std::string::npos);
    lines.resize(12);  // no group at all
    EXPECT_EQ(refused_at(script_text(lines)), 13);
}

TEST(ScriptParser, NulCharactersAreRefused) {
    EXPECT_EQ(refused_at(with_line(4, std::string(".PCM\t\t\t     I0001 \t\t= \"/x/a.wav\0.txt\"", 36))), 4);
    EXPECT_EQ(refused_at(with_line(16, std::string(1, '\0'))), 16);
}

TEST(ScriptParser, ItemIdsAreDefinedOnceAndBeforeTheirUse) {
    const std::string twice = with_line(6, ".ADPCM\t\t     I0001\t\t= \"/home/u/two words.wav\"");
    EXPECT_EQ(refused_at(twice), 6);
    EXPECT_NE(message_of(twice).find("I0001 is defined twice (first on line 4)"), std::string::npos);
    const std::string mute_twice = with_line(6, ".Silence\t\t     I0002\t\t= ((300 * FS)/1000)");
    EXPECT_EQ(refused_at(mute_twice), 6);
    const std::string undefined = with_line(31, ".Section[3] $Groups =    I0004  (8000) :1");
    EXPECT_EQ(refused_at(undefined), 31);
    EXPECT_NE(message_of(undefined).find("I0004 is not defined"), std::string::npos);
}

TEST(ScriptParser, CompressedSoundsMatchTheEncoderSetting) {
    // ADPCM sounds with the companding setting: refused at the sound's line.
    EXPECT_EQ(refused_at(with_inserted(10, ".Global        $Encoder    = 5 \"EQ01\" 26")), 6);
    // A companded sound without it.
    EXPECT_EQ(refused_at(with_line(6, ".EQ01\t\t         I0003\t\t= \"/home/u/two words.wav\"")), 6);
    // Plain PCM goes with either.
    auto lines = written_lines();
    lines.erase(lines.begin() + 5);
    lines.insert(lines.begin() + 8, ".Global        $Encoder    = 5 \"EQ01\" 26");
    lines[30] = ".Section[3] $Groups =    I0002  (8000) :1";
    EXPECT_EQ(refused_at(script_text(lines)), 0);
}
