// A test folder with the files of one QavGen run: the link script, the log,
// the output image, its duplicate, a template and voice data.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qavgen_process.h"
#include "qavgen_test_data.h"

class QavGenRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test_folder();
        lns = folder + "/result.lns";
        log = folder + "/QavGen.log";
        out = folder + "/out.dat";
        dup = folder + "/shadow.dat";
        pgm = folder + "/Y122.pgm";
        voice = folder + "/Script.mf0";
    }

    // Writes the link script, each line ended by CR LF as KovaStudio writes it.
    void script(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        write_text(lns, text);
    }

    // The usual head of a script: duplicate, output, ROM size, template, voice.
    std::vector<std::string> build_lines(const std::string& rom_size, const std::string& voice_path) {
        return {"%DupFile@=\"" + dup + "\"", "%OutFile@=\"" + out + "\"", "%RomSize@=\"" + rom_size + "\"",
                "%AddFile@=\"" + pgm + "\"", "%AddFile@=\"" + voice_path + "\""};
    }

    child_result run(const std::vector<std::string>& extra = {"+w"}, const std::string& input = "") {
        std::vector<std::string> args{lns, log};
        args.insert(args.end(), extra.begin(), extra.end());
        return run_qavgen(args, input);
    }

    // Both images exist and are equal; returns the output.
    bytes images_equal() {
        EXPECT_TRUE(file_exists(out));
        EXPECT_TRUE(file_exists(dup));
        const bytes image = read_file(out);
        EXPECT_EQ(image, read_file(dup));
        return image;
    }

    void expect_images_deleted() {
        EXPECT_FALSE(file_exists(out));
        EXPECT_FALSE(file_exists(dup));
    }

    std::string folder, lns, log, out, dup, pgm, voice;
};
