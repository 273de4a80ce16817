// The function words of the writer program's first argument.
#pragma once

#include <cstdint>
#include <string>

enum function_code : int {
    kFuncNone = 0,
    kFuncBlank = 1,
    kFuncProgram = 2,
    kFuncVerify = 8,
    kFuncSlave = 32,
    kFuncCheck = 64,
    kFuncEmpty = 128,
    kFuncTest = 256,
    kFuncFreq = 512,
};

struct function_word {
    const char* word;
    function_code code;
    bool uses_image;
    const char* summary_name;
    uint8_t mode;             // compare mode without a trim request
    uint8_t mode_with_trim;   // with one (only where an image is open)
};

// The entry for the word (any letter case), or null. Freq only with the
// oscillator functions.
const function_word* match_function_word(const std::string& word, bool has_oscillator);
