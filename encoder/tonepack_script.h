// What an encoder script says: the sounds of the project, the global
// settings and the voice groups with their entries, each with the script line
// it came from so that later checks can name it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voice_format.h"

struct script_sound {
    std::string id;          // "I0001"
    sound_kind kind = sound_kind::silence;
    std::string path;        // the WAV file; empty for a silence
    uint32_t mute_ms = 0;    // length of a silence
    int line = 0;
};

struct script_entry {
    int sound = -1;          // index into encoder_script::sounds; -1 for the default silence
    uint32_t rate = kSilenceRate;
    bool busy = false;
    int line = 0;
};

struct script_group {
    bool edge = false;
    bool hold = false;
    bool retrigger = false;
    std::vector<script_entry> entries;  // never empty: an empty group holds the default silence
};

struct encoder_script {
    std::vector<script_sound> sounds;
    uint32_t clock_hz = 0;     // $Rck
    uint32_t offset = 0;       // $Offset: ROM address where the voice data starts
    bool companding = false;   // $Encoder given: compressed sounds are companded
    bool ramp = false;         // $RampEn
    uint32_t last_group = 0;   // $SbtMax
    std::vector<script_group> groups;
};

struct script_error {
    int line = 0;
    std::string message;
};

// "line N: message", as tonepack reports a refused script.
std::string describe(const script_error& error);
