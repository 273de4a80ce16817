// Reads the samples of every sound an encoder script names. A sound never
// takes more samples than the data-size field at offset 40 of its file
// states, which is what the project's size estimate counted for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoder_script.h"
#include "regular_input.h"

struct loaded_sounds {
    std::vector<std::vector<uint8_t>> samples;  // per script sound, in order; empty for a silence
    std::vector<file_identity> files;           // the sound files read
    std::vector<std::string> warnings;          // sounds cut to their data-size field, or shorter than it
};

// Throws run_failure when a file cannot be read, is no mono 8-bit PCM WAV
// file, plays at another rate than the script states, or when the voice data
// would not fit the format's addresses and lengths.
loaded_sounds load_sounds(const encoder_script& script);
