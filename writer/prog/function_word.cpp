#include "function_word.h"

#include <strings.h>

namespace {

constexpr function_word kWords[] = {
    {"Blank", kFuncBlank, false, "Blank-Check", 1, 1},
    {"Program", kFuncProgram, true, "Write-Check", 1, 9},
    {"Verify", kFuncVerify, true, "Read-Verify", 3, 11},
    {"Slave", kFuncSlave, true, "Slave-Check", 3, 11},
    {"Check", kFuncCheck, true, "Check-Verify", 0, 8},
    {"Empty", kFuncEmpty, false, "Empty-Check", 0, 0},
    {"Test", kFuncTest, false, "Test-Write", 0, 0},
    {"Freq", kFuncFreq, false, "", 0, 0},
};

}  // namespace

const function_word* match_function_word(const std::string& word, bool has_oscillator) {
    for (const function_word& entry : kWords) {
        if (entry.code == kFuncFreq && !has_oscillator) continue;
        if (strcasecmp(entry.word, word.c_str()) == 0) return &entry;
    }
    return nullptr;
}
