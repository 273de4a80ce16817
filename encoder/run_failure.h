// How a tonepack run ends: its exit codes, and the failure that carries one
// of them with its message up to the program's end.
#pragma once

#include <string>

inline constexpr int kTonepackOk = 0;
inline constexpr int kTonepackUsage = 1;            // not two arguments
inline constexpr int kTonepackScriptUnreadable = 2; // the script cannot be read
inline constexpr int kTonepackScriptRefused = 3;    // the script is not in the form KovaStudio writes
inline constexpr int kTonepackSoundUnusable = 4;    // a sound file cannot be read or does not match the script
inline constexpr int kTonepackTooLarge = 5;         // the voice data exceeds the format's addresses or lengths
inline constexpr int kTonepackOutputFailed = 6;     // the output cannot be written
inline constexpr int kTonepackInternal = 7;         // anything else, such as memory running out

struct run_failure {
    int code;
    std::string message;
};
