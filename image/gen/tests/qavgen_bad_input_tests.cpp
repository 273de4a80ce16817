// Files that are not what QavGen expects: it ends cleanly and leaves no
// half-written image behind.
#include <sys/stat.h>
#include <unistd.h>

#include "qavgen_fixture.h"

namespace {

class BadInput : public QavGenRun {
protected:
    void SetUp() override {
        QavGenRun::SetUp();
        write_file(voice, voice_bytes(0x100));
    }

    // A template whose header record claims the given header offset and range.
    void odd_template(int16_t header_offset, int32_t start, int32_t end) {
        std::string error;
        bytes t = template_file(template_spec{}, error);
        put_header_fields(t, header_offset, start, end);
        write_file(pgm, t);
    }

    child_result build_with_checksum() {
        auto lines = build_lines("8000", voice);
        lines.push_back("%CheckSum@=\"Generate\"");
        script(lines);
        return run({"-w"});
    }
};

}  // namespace

TEST_F(BadInput, RefusedTemplateHeaderSetsNoLimitAndFailsTheChecksum) {
    const struct {
        int16_t header_offset;
        int32_t start, end;
    } headers[] = {{0x10, 0x100, 0x200}, {-0x200, 0x100, 0x200}, {0x200, 0x100, 0x204}, {0x200, -8, 0x200}};
    for (const auto& h : headers) {
        odd_template(h.header_offset, h.start, h.end);
        const child_result r = build_with_checksum();
        EXPECT_EQ(r.exit_code, -4) << h.header_offset << " " << h.start << " " << h.end;
        EXPECT_EQ(r.output.find("MaxSize"), std::string::npos);
        EXPECT_NE(r.output.find("Error QAV file !!\n\nError on link-script at line 6.\n\n"), std::string::npos);
        expect_images_deleted();
    }
}

TEST_F(BadInput, RangeEndingBeforeItStartsIsAValidTemplateReadPlainly) {
    odd_template(0x200, 0x200, 0x100);
    const child_result r = build_with_checksum();
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_NE(r.output.find("Setting Variable MaxSize = 8200 (Hex) {Header+Rom}\n"), std::string::npos);
    // The checksum counts every ROM byte as stored.
    const bytes image = read_file(out);
    const bytes rom(image.begin() + 0x200, image.end());
    EXPECT_EQ(stored_checksum(image, 0x200, 16), expected_checksum(rom, 16, 0x8000));
}

TEST_F(BadInput, SystemInformationShorterThan16BytesIsNoImage) {
    for (const uint8_t words : {0, 1, 7}) {
        std::string error;
        bytes t = template_file(template_spec{}, error);
        t[0x200] = words;  // L = 2 * words
        write_file(pgm, t);
        const child_result r = build_with_checksum();
        EXPECT_EQ(r.exit_code, -4);
        EXPECT_NE(r.output.find("Error QAV file !!\n\n"), std::string::npos);
        expect_images_deleted();
    }
}

TEST_F(BadInput, EmptyAndTruncatedTemplates) {
    std::string error;
    const bytes t = template_file(template_spec{}, error);
    // Empty: the output starts with voice data and is no image. 31 bytes: no
    // header record, so no header offset is added to the limit; the voice
    // data completes the record, but its header offset points past the end.
    // 32 bytes, and a ROM cut inside the system information: no whole system
    // information to hold the checksum. Once the system information is whole,
    // a ROM missing in part reads as a blank chip. Whatever QavGen accepts,
    // the checker verifies.
    const struct {
        size_t length;
        int exit_code;
    } cases[] = {{0, -4}, {31, -4}, {32, -4}, {0x201, -4}, {0x210, 0}};
    for (const auto& c : cases) {
        write_file(pgm, bytes(t.begin(), t.begin() + static_cast<long>(c.length)));
        const child_result r = build_with_checksum();
        EXPECT_EQ(r.exit_code, c.exit_code) << c.length << r.output;
        if (c.exit_code == 0) {
            EXPECT_LE(images_equal().size(), 0x8200u);
            EXPECT_EQ(run_child(std::string(KOVA_DIR) + "/bin/qavchk", {out, "8000"}).exit_code, 0) << c.length;
        } else {
            expect_images_deleted();
        }
    }
}

TEST_F(BadInput, LargeVoiceWithoutLimitIsAppendedWhole) {
    write_template(pgm, template_spec{});
    write_file(voice, voice_bytes(3 << 20));
    script({"%OutFile@=\"" + out + "\"", "%DupFile@=\"" + dup + "\"", "%AddFile@=\"" + pgm + "\"",
            "%AddFile@=\"" + voice + "\"", "%CheckSum@=\"Generate\""});
    EXPECT_EQ(run().exit_code, 0);
    EXPECT_EQ(images_equal().size(), 0x1200u + (3 << 20));
}

TEST_F(BadInput, WriteFailureEndsTheRunAndDeletesTheImages) {
    write_template(pgm, template_spec{});
    write_file(voice, voice_bytes(0x4000));
    script(build_lines("8000", voice));
    const child_result r = run_qavgen({lns, log, "+w"}, "", 0x2000);
    EXPECT_EQ(r.exit_code, -4) << r.output;
    EXPECT_NE(r.output.find("Error on link-script at line 5.\n\n"), std::string::npos);
    expect_images_deleted();
}

TEST_F(BadInput, FolderOrPipeIsNoFileToAppend) {
    write_template(pgm, template_spec{});
    const std::string pipe = folder + "/pipe.pgm";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // no writer: opening it to read would wait
    for (const std::string& input : {folder, pipe}) {
        script({"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + out + "\"", "%AddFile@=\"" + input + "\"",
                "%AddFile@=\"" + pgm + "\""});
        const child_result r = run();
        EXPECT_EQ(r.exit_code, -4) << input;
        EXPECT_NE(r.output.find("input file open error.\nError on link-script at line 3.\n\n"), std::string::npos)
            << r.output;
        expect_images_deleted();
    }
}

TEST_F(BadInput, ReadOnlyTemplateIsAppended) {
    const bytes t = write_template(pgm, template_spec{});
    ::chmod(pgm.c_str(), 0444);
    ::chmod(folder.c_str(), 0777);  // the images and the log are the user's to write
    script({"%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\""});
    // Run as a user who may not write the template (root may write any file).
    child_options options;
    options.other_user = true;
    const child_result r = run_child(qavgen_path(), {lns, log, "+w"}, options);
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_EQ(read_file(out), t);
    EXPECT_EQ(read_file(pgm), t);
}

TEST_F(BadInput, FolderOrPipeIsNoLinkScript) {
    const std::string pipe = folder + "/pipe.lns";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // no writer: opening it to read would wait
    child_options options;
    options.kill_after = std::chrono::seconds(60);  // a qavgen that waits on the pipe is ended here
    for (const std::string& script : {folder, pipe}) {
        const child_result r = run_child(qavgen_path(), {script, log}, options);
        EXPECT_FALSE(r.killed_as_hung) << script;
        EXPECT_EQ(r.exit_code, -2) << script;
        EXPECT_NE(r.output.find("Err: open link-script      <" + script + ">.\n\n"), std::string::npos) << r.output;
    }
}
