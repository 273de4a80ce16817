// Encoder scripts for the tests, line for line in the form KovaStudio writes
// them, made from a small description of a voice project.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "voice_format.h"

struct test_sound {
    sound_kind kind = sound_kind::pcm;  // silence for a mute
    std::string path;                   // the WAV file
    std::string rate = "8000";          // the file list's rate text; a mute's is "--"
    int mute_ms = 0;
};

struct test_entry {
    size_t sound = 0;  // index into test_project::sounds
    bool busy = true;
};

struct test_group {
    bool edge = true;
    bool hold = false;
    bool retrigger = true;
    std::vector<test_entry> entries;
};

struct test_project {
    std::vector<test_sound> sounds;  // item ids I0001, I0002, ... in order
    std::vector<test_group> groups;
    std::string clock = "10000000";
    std::string offset = "600";
    bool encoder_line = false;       // the $Encoder setting that goes with .EQ01 sounds
    bool vout = true;                // $RampEn "No"
};

std::string item_id(size_t index);  // "I0001" for index 0

// The script's lines without their CR LF.
std::vector<std::string> script_lines(const test_project& project);

// Every line followed by CR LF.
std::string script_text(const std::vector<std::string>& lines);
inline std::string script_text(const test_project& project) { return script_text(script_lines(project)); }
