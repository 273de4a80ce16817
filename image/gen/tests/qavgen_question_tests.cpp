// Voice data longer than the ROM: the warning switches, the Yes/No question
// through a pipe and on a real terminal, and the .dpm tail.
#include <cstdlib>

#include "qavgen_fixture.h"

namespace {

const std::string kQuestion = "       Do you want to continue  (Press: Y=Yes / others=No)? _ ";

class VoiceTooLong : public QavGenRun {
protected:
    void SetUp() override {
        QavGenRun::SetUp();
        spec.level = 2;
        rom = write_template(pgm, spec);
        write_file(voice, voice_bytes(0x1800));
        script(build_lines("2000", voice));  // room for 0x1000 voice bytes
    }

    // The log and standard error carry the cut offset in the voice file.
    void expect_warning(const child_result& r) {
        const std::string lines = "Append file .............. <" + voice +
                                  ">.\n       Warning: Voice Too Long, Truncate from addr 1000h.\n";
        EXPECT_NE(read_text(log).find(lines), std::string::npos);
        EXPECT_EQ(r.output.find("Warning"), std::string::npos);  // not on standard output
        EXPECT_NE(r.error_output.find(lines + kQuestion), std::string::npos) << r.error_output;
    }

    void expect_complete_image() {
        const bytes image = images_equal();
        ASSERT_EQ(image.size(), 0x2200u);
        bytes plain = template_plain_rom(spec);
        const bytes v = voice_bytes(0x1000);
        plain.insert(plain.end(), v.begin(), v.end());
        EXPECT_EQ(stored_checksum(image, 0x200, 44), expected_checksum(plain, 44, 0x2000));
    }

    template_spec spec;
    bytes rom;
};

}  // namespace

TEST_F(VoiceTooLong, AnswerNoDeletesBothImages) {
    for (const std::string answer : {"n", "", "\n", "\x1b[A"}) {
        const child_result r = run({"+w"}, answer);
        EXPECT_EQ(r.exit_code, -4) << answer;
        expect_warning(r);
        EXPECT_NE(r.output.find("Error on link-script at line 5.\n\n"), std::string::npos);
        expect_images_deleted();
    }
}

TEST_F(VoiceTooLong, AnswerYesKeepsTheCutImageWithItsChecksum) {
    script([&] {
        auto lines = build_lines("2000", voice);
        lines.push_back("%CheckSum@=\"Generate\"");
        return lines;
    }());
    const child_result r = run({"+w"}, "Y");
    EXPECT_EQ(r.exit_code, 0) << r.output << r.error_output;
    expect_warning(r);
    EXPECT_NE(r.output.find("System Information Level II define frequency Adj to 5.0 MHz.\n"), std::string::npos);
    expect_complete_image();
    EXPECT_EQ(run({"+w"}, "y").exit_code, 0);
}

TEST_F(VoiceTooLong, WarningSwitchesInAnyOrder) {
    struct arguments {
        std::vector<std::string> args;
        bool asks;
    };
    const arguments cases[] = {
        {{lns}, true},           {{lns, log}, true},         {{lns, log, "+w"}, true},
        {{lns, "+W", log}, true}, {{lns, log, "+Warning"}, true}, {{lns, log, "-w"}, false},
        {{lns, "-W", log}, false}, {{lns, "-w", "+w"}, true},    {{lns, "+w", "-Warning"}, false},
        {{lns, log, "+x"}, true},
    };
    for (const arguments& c : cases) {
        const child_result r = run_qavgen(c.args, "n");
        EXPECT_EQ(r.error_output.find(kQuestion) != std::string::npos, c.asks) << c.args.back();
        EXPECT_EQ(r.exit_code, c.asks ? -4 : 0) << c.args.back();
    }
}

TEST_F(VoiceTooLong, OutputAndErrorInOneFileKeepTheOrderOfTheRun) {
    const std::string transcript = folder + "/transcript.txt";
    const std::string command = "'" + qavgen_path() + "' '" + lns + "' +w < /dev/null > '" + transcript + "' 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);  // no key: the answer is No
    const std::string text = read_text(transcript);
    const size_t template_line = text.find("Append file .............. <" + pgm + ">.\n");
    const size_t warning = text.find("Warning: Voice Too Long");
    ASSERT_NE(template_line, std::string::npos) << text;
    ASSERT_NE(warning, std::string::npos) << text;
    EXPECT_LT(template_line, warning) << text;
    EXPECT_LT(warning, text.find("Error on link-script at line 5.")) << text;
}

TEST_F(VoiceTooLong, WarningsOffCutsSilently) {
    const child_result r = run({"-w"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.error_output, "");
    EXPECT_EQ(read_text(log).find("Truncate"), std::string::npos);
    EXPECT_EQ(images_equal().size(), 0x2200u);
}

TEST_F(VoiceTooLong, DpmWithBlankTailGivesANoteAndNoQuestion) {
    const std::string dpm = folder + "/voice.DPM";
    bytes data = voice_bytes(0x1000);
    data.resize(0x1800, 0xFF);
    write_file(dpm, data);
    script(build_lines("2000", dpm));
    const child_result r = run({"+w"}, "n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.error_output, "");
    EXPECT_NE(r.output.find("Append file .............. <" + dpm +
                         ">.\n       Note: Truncate from addr 1000h.(All data are 0xff)\n"),
              std::string::npos);
    // One byte other than 0xFF in the tail makes it too long after all.
    data.back() = 0x00;
    write_file(dpm, data);
    EXPECT_EQ(run({"+w"}, "n").exit_code, -4);
}

TEST_F(VoiceTooLong, TerminalArrowKeyMeansNo) {
    const child_result r = run_qavgen_on_terminal({lns, log, "+w"}, kQuestion, "\x1b[A");
    EXPECT_EQ(r.exit_code, -4) << r.output;
    expect_images_deleted();
}

TEST_F(VoiceTooLong, TerminalSingleYKeyWithoutEnterContinues) {
    const child_result r = run_qavgen_on_terminal({lns, log, "+w"}, kQuestion, "y");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_NE(r.output.find(kQuestion + "y"), std::string::npos);  // the key is echoed
    images_equal();
}

TEST_F(VoiceTooLong, TerminalOtherKeyMeansNo) {
    // Ctrl-C is read as a key too, so the cut images are deleted rather than
    // left behind by a killed run.
    for (const std::string key : {"x", "\x03"}) {
        const child_result r = run_qavgen_on_terminal({lns, log, "+w"}, kQuestion, key);
        EXPECT_EQ(r.exit_code, -4) << r.output;
        expect_images_deleted();
    }
}
