// The images QavGen builds: size limit, option bytes, copies, checksum.
#include "image_checksum.h"
#include "qavgen_fixture.h"

namespace {

class ImageBuild : public QavGenRun {
protected:
    void SetUp() override {
        QavGenRun::SetUp();
        write_template(pgm, spec);
        write_file(voice, voice_bytes(0x3000));
    }

    // The plain ROM the image should hold: template, voice data cut to fit.
    bytes plain_rom(size_t voice_count) {
        bytes plain = template_plain_rom(spec);
        const bytes v = voice_bytes(voice_count);
        plain.insert(plain.end(), v.begin(), v.end());
        return plain;
    }

    // QavChk's calculator agrees with the stored checksum.
    void expect_verifies(int32_t rom_size) { expect_verifies(out, rom_size); }
    void expect_verifies(const std::string& image, int32_t rom_size) {
        FILE* file = std::fopen(image.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        image_header header;
        ASSERT_EQ(image_read_header(file, header), 1);
        checksum_result result;
        uint16_t stored = 0;
        chk_image_checksum(file, header, result, rom_size, stored);
        std::fclose(file);
        EXPECT_EQ(result.checksum, stored);
    }

    // Runs the usual head of a script for a ROM of 0x8000 bytes, then `line`.
    child_result build_then(const std::string& line) {
        auto lines = build_lines("8000", voice);
        lines.push_back(line);
        script(lines);
        return run();
    }

    template_spec spec;  // header offset 0x200, voice data from ROM 0x1000
};

}  // namespace

TEST_F(ImageBuild, RomSizeCapsFileAtHeaderPlusRomAndChecksumCoversTheRom) {
    auto lines = build_lines("8000", voice);
    lines.insert(lines.end(), {"%SetParm@=\"[FE0]=5A\"", "%CheckSum@=\"Generate\""});
    script(lines);
    const child_result r = run({"+w"}, "Y");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_NE(r.output.find("Setting Variable RomSize = 8000 (Hex)\nSetting Variable MaxSize = 8200 (Hex) {Header+Rom}\n"),
              std::string::npos);
    // 0x3000 voice bytes fit below 0x8000 and the rest of the ROM counts as blank.
    const bytes image = images_equal();
    EXPECT_EQ(image.size(), 0x200u + 0x1000 + 0x3000);
    bytes plain = plain_rom(0x3000);
    plain[0xFE0] = 0x5A;
    EXPECT_EQ(stored_checksum(image, 0x200, 16), expected_checksum(plain, 16, 0x8000));
    EXPECT_NE(read_text(log).find("System Information CheckSum     = "), std::string::npos);
    expect_verifies(0x8000);
}

TEST_F(ImageBuild, VoiceCutExactlyAtTheLimit) {
    script(build_lines("3000", voice));
    EXPECT_EQ(run({"-w"}).exit_code, 0);
    const bytes image = images_equal();
    ASSERT_EQ(image.size(), 0x3200u);
    const bytes v = voice_bytes(0x2000);
    EXPECT_TRUE(std::equal(v.begin(), v.end(), image.begin() + 0x1200));
}

TEST_F(ImageBuild, AddFileWithoutRomSizeAppendsEverythingWithBaseZero) {
    script({"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"",
            "%AddFile@=\"" + voice + "\"", "%SetParm@=\"[10]=1AB\"", "%RomCopy@=\"[20:21][40:41]\"",
            "%CheckSum@=\"Generate\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_EQ(r.output.find("MaxSize"), std::string::npos);
    EXPECT_NE(r.output.find("SetParameter               [000010] = ab with header offset 0h.\n"), std::string::npos);
    const bytes image = images_equal();
    EXPECT_EQ(image.size(), 0x200u + 0x1000 + 0x3000);
    EXPECT_EQ(image[0x10], 0xAB);
    EXPECT_EQ(image[0x40], image[0x20]);
    // The checksum runs over the ROM actually in the file.
    bytes plain = plain_rom(0x3000);
    EXPECT_EQ(stored_checksum(image, 0x200, 16), expected_checksum(plain, 16, 0x4000));
}

TEST_F(ImageBuild, SetParmWritesAtHeaderOffsetPlusAddressInBothImages) {
    const child_result r = build_then("%SetParm@=\"[1F0]=1A5\"");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.output.find("SetParameter               [0001f0] = a5 with header offset 200h.\n"), std::string::npos);
    EXPECT_EQ(images_equal().at(0x3F0), 0xA5);
}

TEST_F(ImageBuild, InfoDupCopiesAtMost1025Bytes) {
    const child_result r = build_then("%InfoDup@=\"[1000:1400][2000:2400]\"");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.output.find("Information Duplication    [1000:1400] -> [2000:2400] with header offset 0h.\n"),
              std::string::npos);
    const bytes image = images_equal();
    EXPECT_TRUE(std::equal(image.begin() + 0x1000, image.begin() + 0x1401, image.begin() + 0x2000));
    EXPECT_NE(image[0x2401], image[0x1401]);

    EXPECT_EQ(build_then("%InfoDup@=\"[1000:1401][2000:2401]\"").exit_code, -4);
    expect_images_deleted();
}

TEST_F(ImageBuild, AddFileAfterCheckSumAppendsToBothImages) {
    auto lines = build_lines("8000", voice);
    lines.insert(lines.end(), {"%checksum@=\"GENERATE\"", "%AddFile@=\"" + pgm + "\""});
    script(lines);
    EXPECT_EQ(run().exit_code, 0);
    const bytes image = images_equal();
    EXPECT_EQ(image.size(), 2 * (0x200u + 0x1000) + 0x3000);
    EXPECT_EQ(bytes(image.end() - 0x1200, image.end()), read_file(pgm));
}

TEST_F(ImageBuild, SecondOutFileKeepsTheFirstEvenWhenTheRunFails) {
    const std::string first = folder + "/first.dat";
    script({"%OutFile@=\"" + first + "\"", "%AddFile@=\"" + pgm + "\"", "%OutFile@=\"" + out + "\"",
            "%AddFile@=\"" + voice + "\"", "%Bogus@"});
    EXPECT_EQ(run().exit_code, -3);
    EXPECT_EQ(read_file(first), read_file(pgm));
    EXPECT_FALSE(file_exists(out));
}

TEST_F(ImageBuild, FailingCommandsEndWithMinus4AndDeleteBothImages) {
    struct failing {
        std::string line;
        std::string message;
    };
    const failing cases[] = {
        {"%RomSize@=\"80G0\"", ""},
        {"%AddFile@=\"" + folder + "/missing.mf0\"", "input file open error.\n"},
        {"%AddFile@=\"" + out + "\"", "input file open error.\n"},  // the image itself
        {"%AddFile@=\"\"", "Unknow input filename\n"},
        {"%SetParm@=\"1F0]=1\"", ""},
        {"%SetParm@=\"[FFFFFC00]=1\"", ""},  // before the start of the file
        {"%RomCopy@=\"[10:20][30\"", ""},
        {"%RomCopy@=\"[20:10][30:20]\"", ""},
        {"%RomCopy@=\"[10:20][30:41]\"", ""},
        {"%InfoDup@=\"[FFFFFFF0:0][10:20]\"", ""},
        {"%CheckSum@=\"Generate\" ", ""},
    };
    for (const failing& c : cases) {
        const child_result r = build_then(c.line);
        EXPECT_EQ(r.exit_code, -4) << c.line;
        EXPECT_NE(r.output.find(c.message + "Error on link-script at line 6.\n\n"), std::string::npos) << r.output;
        expect_images_deleted();
    }
}

TEST_F(ImageBuild, DuplicateThatCannotBeCreated) {
    const std::string bad = folder + "/no/such/folder.dat";
    for (const auto& [line, message] : {std::pair{"%DupFile@=\"" + bad + "\"", "Err: Open duplicate output <" + bad + ">.\n"},
                                        std::pair{std::string("%DupFile@=\"x"), std::string("Unknow Duplicate output filename =\"x\n")}}) {
        script({"%OutFile@=\"" + out + "\"", line});
        const child_result r = run();
        EXPECT_EQ(r.exit_code, -4);
        EXPECT_NE(r.output.find(message + "Error on link-script at line 2.\n\n"), std::string::npos) << r.output;
        EXPECT_FALSE(file_exists(out));
    }
}

TEST_F(ImageBuild, AddFileBeforeOutFileHasNoOutput) {
    script({"%AddFile@=\"" + pgm + "\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -4);
    EXPECT_NE(r.output.find("There is no output.\nError on link-script at line 1.\n\n"), std::string::npos);
    EXPECT_NE(read_text(log).find("There is no output.\n"), std::string::npos);
}

TEST_F(ImageBuild, CheckSumWithNoImageFails) {
    script({"%CheckSum@=\"Generate\""});
    const child_result r = run();
    EXPECT_EQ(r.exit_code, -4);
    EXPECT_NE(r.output.find("Error on link-script at line 1."), std::string::npos);
}

TEST_F(ImageBuild, EmptyNameMeansNoDuplicateButIsNoOutputName) {
    script({"%DupFile@=\"" + dup + "\"", "%OutFile@=\"\"", "%CheckSum@=\"Generate\""});
    EXPECT_EQ(run().exit_code, -4);  // an empty output name is refused
    script({"%DupFile@=\"\"", "%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"", "%CheckSum@=\"Generate\""});
    EXPECT_EQ(run().exit_code, 0);
    EXPECT_FALSE(file_exists(dup));
    expect_verifies(0x1000);
}

// Every command changes both images alike; an image opened when the other one
// already holds bytes starts as a copy of it, so the duplicate still equals
// the output at the end.
TEST_F(ImageBuild, DuplicateNamedAfterDataStartsAsACopyOfTheOutput) {
    script({"%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"", "%DupFile@=\"" + dup + "\"",
            "%CheckSum@=\"Generate\""});
    EXPECT_EQ(run().exit_code, 0);
    EXPECT_EQ(images_equal().size(), 0x1200u);
    expect_verifies(out, 0x1000);
    expect_verifies(dup, 0x1000);

    // A byte set past the end leaves both images where they stood, before the
    // gap: the late duplicate goes on from there too.
    script({"%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"", "%SetParm@=\"[5000]=5A\"",
            "%DupFile@=\"" + dup + "\"", "%AddFile@=\"" + voice + "\"", "%CheckSum@=\"Generate\""});
    EXPECT_EQ(run().exit_code, 0);
    const bytes image = images_equal();
    ASSERT_EQ(image.size(), 0x5001u);  // without RomSize@ the base is 0
    EXPECT_EQ(image.at(0x5000), 0x5A);
    EXPECT_EQ(bytes(image.begin() + 0x1200, image.begin() + 0x4200), read_file(voice));
}

TEST_F(ImageBuild, SecondOutputAfterDataStartsAsACopyOfTheDuplicate) {
    std::vector<std::string> tail{"%SetParm@=\"[FE0]=5A\"", "%CheckSum@=\"Generate\""};
    auto lines = build_lines("8000", voice);
    lines.insert(lines.end(), tail.begin(), tail.end());
    script(lines);
    ASSERT_EQ(run().exit_code, 0);
    const bytes plain_build = images_equal();

    const std::string first = folder + "/first.dat";
    lines = {"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + first + "\"", "%RomSize@=\"8000\"",
             "%AddFile@=\"" + pgm + "\"", "%OutFile@=\"" + out + "\"", "%AddFile@=\"" + voice + "\""};
    lines.insert(lines.end(), tail.begin(), tail.end());
    script(lines);
    EXPECT_EQ(run().exit_code, 0);
    EXPECT_EQ(images_equal(), plain_build);
    EXPECT_EQ(read_file(first), read_file(pgm));  // the earlier output keeps what it got
}

TEST_F(ImageBuild, ImageNamingTheFileOfTheOtherIsRefusedOnceThatHoldsData) {
    script({"%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"", "%DupFile@=\"" + out + "\""});
    child_result r = run();
    EXPECT_EQ(r.exit_code, -4);
    EXPECT_NE(r.output.find("Err: Open duplicate output <" + out + ">.\nError on link-script at line 3.\n\n"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(file_exists(out));

    script({"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + folder + "/first.dat\"", "%AddFile@=\"" + pgm + "\"",
            "%OutFile@=\"" + dup + "\""});
    EXPECT_EQ(run().exit_code, -4);
    expect_images_deleted();

    // Named before any data, the one file takes every change twice alike.
    script({"%DupFile@=\"" + out + "\"", "%OutFile@=\"" + out + "\"", "%AddFile@=\"" + pgm + "\"",
            "%CheckSum@=\"Generate\""});
    r = run();
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_EQ(read_file(out).size(), 0x1200u);
    expect_verifies(out, 0x1000);
}
