// A test folder for tonepack runs as KovaStudio makes them: the encoder
// script, the sound files it names and the output, with the program run as a
// child process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "test_files.h"
#include "test_script.h"
#include "test_wave.h"
#include "voice_decoder.h"

class TonepackRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test_folder();
        script = folder + "/Script.txt";
        output = folder + "/Script.mf0";
    }

    static std::string program() { return std::string(KOVA_DIR) + "/bin/tonepack"; }

    child_result run(const std::vector<std::string>& args, const child_options& options = {}) {
        return run_child(program(), args, options);
    }

    // Writes the project's script and runs tonepack on it.
    child_result encode(const test_project& project, const child_options& options = {}) {
        write_text(script, script_text(project));
        return run({script, output}, options);
    }

    // A WAV file in the test folder; returns its path.
    std::string wave(const std::string& name, const wave_spec& spec) {
        const std::string path = folder + "/" + name;
        write_file(path, wave_bytes(spec));
        return path;
    }

    std::string sound_wave(const std::string& name, const std::vector<uint8_t>& samples, uint32_t rate = 8000) {
        wave_spec spec;
        spec.rate = rate;
        spec.data = samples;
        return wave(name, spec);
    }

    decoded_voice_data decoded() { return decode_voice_data(read_file(output)); }

    // The names in the test folder, so that a left-over temporary file shows.
    std::vector<std::string> folder_names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder, script, output;
};

// A failing run ends with one of tonepack's own small codes, never with the
// codes KovaStudio keeps for a program that did not start (97), gave no exit
// code (98) or is still running (99).
inline void expect_failure_code(const child_result& r, int code) {
    EXPECT_EQ(r.exit_code, code) << r.error_output;
    EXPECT_GE(r.exit_code, 1);
    EXPECT_LE(r.exit_code, 7);
    EXPECT_FALSE(r.killed_as_hung);
}
