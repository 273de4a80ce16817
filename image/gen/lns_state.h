// The run state of one QavGen run, shared by the interpreter and the commands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tool_log.h"

// lns_exit_code, and the results of the commands.
inline constexpr int kLnsOk = 0;
inline constexpr int kLnsUsage = -1;
inline constexpr int kLnsScriptNotOpened = -2;
inline constexpr int kLnsUnknownKeyword = -3;
inline constexpr int kLnsCommandFailed = -4;

inline constexpr uint32_t kLnsNoLimit = 0x10000000;  // MaxSize when no size was set
inline constexpr int kLnsValueSize = 1024;           // a quoted value's text, terminator included
inline constexpr int kLnsLineSize = 1024;            // a script line piece, terminator included

struct lns_run_state {
    tool_log log;                 // copy of every message
    FILE* script = nullptr;       // the link script
    FILE* output = nullptr;       // opened by OutFile@
    FILE* duplicate = nullptr;    // opened by DupFile@
    FILE* input = nullptr;        // the file AddFile@ is appending
    std::string output_path;      // remembered for deleting the images
    std::string duplicate_path;
    uint32_t max_size = kLnsNoLimit;  // ROM size, then the limit of the whole output file
    bool first_add_file = true;
    int32_t header_offset = 0;    // ROM base for SetParm@ and RomCopy@
    uint32_t appended_total = 0;  // bytes appended to the output so far
    bool warning = true;          // an over-long append asks the user
};

// The one run of the process.
extern lns_run_state lns;

// Puts the run state back to its initial values (files are not closed).
void lns_reset_state();

// Closes every open file; with delete_images, the output and duplicate images
// are deleted as well.
void lns_close_all(bool delete_images);

// Called on every path that ends a run; does nothing.
void end_of_run_hook();
