// How tonepack behaves as a program: its arguments, what it opens, its exit
// codes and what it leaves on disk after success and after failure.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "tonepack_fixture.h"

namespace {

constexpr int kUsage = 1, kScriptUnreadable = 2, kScriptRefused = 3, kSoundUnusable = 4, kTooLarge = 5,
              kOutputFailed = 6;

child_options quick() {
    child_options options;
    options.kill_after = std::chrono::seconds(20);
    return options;
}

}  // namespace

class Contract : public TonepackRun {
protected:
    void SetUp() override {
        TonepackRun::SetUp();
        tone = sine_samples(2000, 440, 8000, 100);
        project.sounds = {{sound_kind::pcm, sound_wave("tone.wav", tone), "8000"}};
        project.groups.resize(1);
        project.groups[0].entries = {{0, true}};
    }

    // A voice-data file of an earlier run at the output path.
    void earlier_output() {
        ASSERT_EQ(encode(project).exit_code, 0);
        ASSERT_TRUE(file_exists(output));
    }

    // Nothing but the inputs named in `names` is left in the folder.
    void expect_only(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        EXPECT_EQ(folder_names(), names);
    }

    std::vector<uint8_t> tone;
    test_project project;
};

TEST_F(Contract, EncodesAndReplacesAnEarlierOutput) {
    write_text(output, "an older file");
    const child_result r = encode(project);
    ASSERT_EQ(r.exit_code, 0) << r.error_output;
    EXPECT_EQ(r.error_output, "");
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(decoded().groups[0].entries[0].samples, tone);
    expect_only({"Script.mf0", "Script.txt", "tone.wav"});
}

TEST_F(Contract, TheOutputGetsTheUsualPermissionsOfANewFile) {
    ASSERT_EQ(encode(project).exit_code, 0);
    const std::string plain = folder + "/plain";
    std::ofstream(plain) << "x";
    struct stat made, usual;
    ASSERT_EQ(::stat(output.c_str(), &made), 0);
    ASSERT_EQ(::stat(plain.c_str(), &usual), 0);
    EXPECT_EQ(made.st_mode & 07777, usual.st_mode & 07777);
}

TEST_F(Contract, TakesExactlyTwoArguments) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {script}, {script, output, "x"}}) {
        const child_result r = run(args);
        expect_failure_code(r, kUsage);
        EXPECT_NE(r.error_output.find("usage: tonepack SCRIPT OUTPUT"), std::string::npos);
    }
    EXPECT_FALSE(file_exists(output));
}

TEST_F(Contract, TheScriptMustBeARegularFile) {
    const std::string pipe = folder + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // no writer: opening it to read would wait
    const auto start = std::chrono::steady_clock::now();
    expect_failure_code(run({pipe, output}, quick()), kScriptUnreadable);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    expect_failure_code(run({folder, output}), kScriptUnreadable);
    expect_failure_code(run({folder + "/missing.txt", output}), kScriptUnreadable);
    // Standard input is never read, not even under a name for it.
    write_text(script, script_text(project));
    child_options options = quick();
    options.input = script_text(project);
    for (const std::string name : {"/dev/stdin", "-"}) expect_failure_code(run({name, output}, options), kScriptUnreadable);
    EXPECT_FALSE(file_exists(output));
}

TEST_F(Contract, RefusedScriptsNameTheirLine) {
    auto lines = script_lines(project);
    lines[6] = ".Global        $Offset = 600";
    write_text(script, script_text(lines));
    const child_result r = run({script, output});
    expect_failure_code(r, kScriptRefused);
    EXPECT_EQ(r.error_output.rfind("line 7: ", 0), 0u) << r.error_output;
    EXPECT_EQ(std::count(r.error_output.begin(), r.error_output.end(), '\n'), 1);
    expect_only({"Script.txt", "tone.wav"});
}

TEST_F(Contract, SoundFilesMustBeMonoEightBitPcmWaveFiles) {
    const std::string pipe = folder + "/pipe.wav";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    wave_spec wide, narrow, stereo, float_format;
    wide.bits = 16;
    wide.data.assign(200, 0);
    narrow.bits = 7;  // a byte a sample, but not 8-bit samples
    narrow.data.assign(200, 64);
    stereo.channels = 2;
    stereo.data.assign(200, 128);
    float_format.format = 3;
    float_format.bits = 32;
    float_format.data.assign(200, 0);
    const std::vector<std::string> bad = {
        folder + "/missing.wav", pipe, folder, wave("wide.wav", wide), wave("narrow.wav", narrow),
        wave("stereo.wav", stereo), wave("float.wav", float_format), script};
    for (const std::string& path : bad) {
        project.sounds[0].path = path;
        const child_result r = encode(project, quick());
        expect_failure_code(r, kSoundUnusable);
        EXPECT_EQ(r.error_output.rfind("line 4: I0001: " + path + ": ", 0), 0u) << r.error_output;
        EXPECT_FALSE(file_exists(output)) << path;
    }
}

// Files that are no plain RIFF WAVE file of the kind read are refused for their real cause.
TEST_F(Contract, ARefusedSoundFileNamesItsCause) {
    using bytes = std::vector<uint8_t>;
    const bytes data = wave_chunk("data", bytes(200, 128));
    bytes rf64 = riff_wave({fmt_chunk(), data});
    std::copy_n("RF64", 4, rf64.begin());
    // Mono, 8000 Hz, 8 bits, 22 more bytes: 8 valid bits, the front centre, and PCM's GUID.
    const bytes extensible_fields = {0xFE, 0xFF, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0,    0, 1,    0,    8,    0,
                                     22,   0,    8, 0, 4,    0,    0, 0, 1,    0,    0,    0, 0,    0,    0x10, 0,
                                     0x80, 0,    0, 0xAA, 0, 0x38, 0x9B, 0x71};
    const struct {
        const char* name;
        bytes content;
        std::string cause;
    } cases[] = {
        {"rf64.wav", rf64, "an RF64 file, not a RIFF WAVE file"},
        {"extensible.wav", riff_wave({wave_chunk("fmt ", extensible_fields), data}),
         "a mono 8-bit PCM file in the extensible WAV format, which is not read"},
        // A chunk that states 2 bytes where it holds 4: the walk lands on its zeros, before the data.
        {"out_of_step.wav", riff_wave({fmt_chunk(), wave_chunk("JUNK", {0, 0, 0, 0}, 2), data}),
         "bytes that are no chunk id at byte 46"},
        {"no_fmt.wav", riff_wave({data}), "no \"fmt \" chunk"},
    };
    for (const auto& refused : cases) {
        const std::string path = folder + "/" + refused.name;
        write_file(path, refused.content);
        project.sounds[0].path = path;
        const child_result r = encode(project, quick());
        expect_failure_code(r, kSoundUnusable);
        EXPECT_EQ(r.error_output, "line 4: I0001: " + path + ": " + refused.cause + "\n");
    }
}

TEST_F(Contract, NeverReadsASoundFromStandardInput) {
    project.sounds[0].path = "-";
    child_options options = quick();
    wave_spec spec;
    spec.data = tone;
    const std::vector<uint8_t> bytes = wave_bytes(spec);
    options.input.assign(bytes.begin(), bytes.end());
    expect_failure_code(encode(project, options), kSoundUnusable);
    EXPECT_FALSE(file_exists(output));
}

TEST_F(Contract, TheScriptsRateMustBeTheFilesRate) {
    project.sounds[0].rate = "16000";
    const child_result r = encode(project);
    expect_failure_code(r, kSoundUnusable);
    EXPECT_NE(r.error_output.find("line 15: I0001 plays at 16000 Hz"), std::string::npos) << r.error_output;
}

TEST_F(Contract, VoiceDataEndsWithinTheAddressRange) {
    // 48 + 4 + 2 * 8 bytes of tables and 2000 samples, then a sound without
    // samples: from FFF7EB the data end at FFFFFF, where the empty sound
    // starts, an address of 24 bits still; one byte later they do not fit.
    project.sounds.push_back({sound_kind::pcm, sound_wave("empty.wav", {}), "8000"});
    project.groups[0].entries.push_back({1, true});
    project.offset = "FFF7EB";
    ASSERT_EQ(encode(project).exit_code, 0);
    const decoded_voice_data voice = decoded();
    EXPECT_EQ(voice.groups[0].entries[0].samples, tone);
    EXPECT_EQ(voice.groups[0].entries[1].address, 0xFFFFFFu);
    project.offset = "FFF7EC";
    const child_result r = encode(project);
    expect_failure_code(r, kTooLarge);
    EXPECT_NE(r.error_output.find("line 4: I0001: the voice data would end beyond ROM address FFFFFF"),
              std::string::npos);
    EXPECT_FALSE(file_exists(output));
    project.offset = "1000000";
    expect_failure_code(encode(project), kTooLarge);
}

TEST_F(Contract, AFailedRunRemovesAnEarlierOutputButNoOtherFile) {
    earlier_output();
    project.sounds[0].path = folder + "/missing.wav";
    expect_failure_code(encode(project), kSoundUnusable);
    EXPECT_FALSE(file_exists(output));

    write_text(output, "not voice data");
    expect_failure_code(encode(project), kSoundUnusable);
    EXPECT_EQ(read_text(output), "not voice data");
}

TEST_F(Contract, TheOutputIsNeverAnInput) {
    write_text(script, script_text(project));
    const std::vector<uint8_t> script_bytes = read_file(script);
    const std::vector<uint8_t> wave_bytes_before = read_file(project.sounds[0].path);
    expect_failure_code(run({script, script}), kOutputFailed);
    EXPECT_EQ(read_file(script), script_bytes);
    expect_failure_code(run({script, project.sounds[0].path}), kOutputFailed);
    EXPECT_EQ(read_file(project.sounds[0].path), wave_bytes_before);
    // Not through another name either.
    const std::string link = folder + "/link.wav";
    ASSERT_EQ(::link(project.sounds[0].path.c_str(), link.c_str()), 0);
    expect_failure_code(run({script, link}), kOutputFailed);
    EXPECT_EQ(read_file(link), wave_bytes_before);
}

TEST_F(Contract, TheOutputMustBeAPlainFileName) {
    write_text(script, script_text(project));
    const std::string sub = folder + "/sub";
    std::filesystem::create_directory(sub);
    expect_failure_code(run({script, sub}), kOutputFailed);
    expect_failure_code(run({script, sub + "/"}), kOutputFailed);
    expect_failure_code(run({script, folder + "/missing/out.mf0"}), kOutputFailed);
    const std::string symlink = folder + "/out.lnk";
    ASSERT_EQ(::symlink((folder + "/target").c_str(), symlink.c_str()), 0);
    expect_failure_code(run({script, symlink}), kOutputFailed);
    EXPECT_FALSE(file_exists(folder + "/target"));
    const std::string pipe = folder + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    expect_failure_code(run({script, pipe}, quick()), kOutputFailed);
    expect_only({"Script.txt", "out.lnk", "pipe", "sub", "tone.wav"});
}

TEST_F(Contract, AFullDiskLeavesNoOutput) {
    earlier_output();
    project.sounds[0].path = sound_wave("long.wav", noise_samples(100000, 5, 100));
    child_options options;
    options.file_size_limit = 50000;
    const child_result r = encode(project, options);
    expect_failure_code(r, kOutputFailed);
    EXPECT_FALSE(file_exists(output));
    expect_only({"Script.txt", "long.wav", "tone.wav"});
}

TEST_F(Contract, AnUnwritableFolderLeavesTheEarlierOutputAlone) {
    earlier_output();
    const std::vector<uint8_t> before = read_file(output);
    // Readable for everyone, writable for no one; root writes into any folder, so the run is another user's.
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    child_options options;
    options.other_user = true;
    const child_result r = encode(project, options);
    ::chmod(folder.c_str(), 0755);
    // No temporary file can be made beside the output, and the earlier output
    // can neither be replaced nor removed: it stays as it was.
    expect_failure_code(r, kOutputFailed);
    EXPECT_EQ(read_file(output), before);
}
