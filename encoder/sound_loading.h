// Reads the samples of every sound an encoder script names: the whole data
// chunk of each file, read by the same reading that KovaStudio's file list
// sized the sound by, so that it takes what the size estimate counted for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "regular_file.h"
#include "tonepack_script.h"

struct loaded_sounds {
    std::vector<std::vector<uint8_t>> samples;  // per script sound, in order; empty for a silence
    std::vector<file_identity> files;           // the sound files read
};

// Throws run_failure when a file cannot be read, is no mono 8-bit PCM WAV
// file, plays at another rate than the script states, or when the voice data
// would not fit the format's addresses and lengths.
loaded_sounds load_sounds(const encoder_script& script);
