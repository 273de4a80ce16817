// A voice project drawn from fuzz input, within what KovaStudio's compiler page
// can hold: item ids "I" and four digits growing down the list, mute times
// the mute editor takes (1 to 60000, typed with leading zeros or a "+"), WAV
// files of any path (line breaks in it only when the first byte's top bit is
// set) and any sample rate, empty rows after the items, groups
// whose entries name items, the device, output, trigger-mode and compression
// texts of the lists, and an Offset of one to eight hexadecimal digits. Beside
// the snapshot it says what the encoder script written from it must hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "project_snapshot.h"
#include "voice_format.h"

struct fuzzed_row {             // one item row of the file list
    std::string id;
    sound_kind kind = sound_kind::silence;
    int64_t rate = 0;           // a sound file's WAV sample rate (any signed 32-bit value)
    std::string script_path;    // the path the script names; empty for a mute
    uint32_t mute_ms = 0;       // a mute's time in the script
};

struct fuzzed_group {
    bool edge = false, hold = false, retrigger = false;
    std::vector<size_t> rows;   // indexes into fuzzed_project::rows, in entry order
    std::vector<bool> busy;     // each entry's busy flag
};

struct fuzzed_project {
    project_snapshot snapshot;
    std::string offset_text;    // the mode settings' Offset
    std::vector<fuzzed_row> rows;
    std::vector<fuzzed_group> groups;
    uint32_t clock_hz = 0;
    uint32_t offset = 0;
    bool companding = false;
    bool ramp = false;
    uint32_t last_group = 0;
    bool line_breaks = false;   // paths may hold CR and LF, which the writer refuses
    int writer_result = 0;      // what build_script_files must return for it
};

// Reads the input from the front, one choice after the other, so that a change
// of a byte changes one choice; an input that ends early reads on as zeros.
fuzzed_project fuzzed_project_of(const uint8_t* data, size_t size);
