// QavChk: checks a DAT image against a ROM size. It lists the image's text
// header and compares the checksum stored in the system information with the
// one computed over the image.
#pragma once

#include <cstdint>
#include <cstdio>

#include "image_checksum.h"
#include "image_header.h"
#include "tool_log.h"

// Exit codes of QavChk.
enum chk_exit_code : int {
    chk_ok = 0,
    chk_usage = -1,
    chk_cannot_open = -2,
    chk_invalid_header = -4,
    chk_mismatch = -5,
};

// Result of the listing and the verification when the header record is unusable.
inline constexpr int chk_header_refused = -3;

struct chk_state {
    int32_t rom_size = 0;
    uint16_t stored_checksum = 0xFFFF;
    tool_log log;           // every message goes here and to standard output
    FILE* image = nullptr;  // opened for reading only
    image_header header;
    checksum_result result;
};

// The whole run: arguments are the image path, the ROM size in hexadecimal and
// optionally the log path. Returns the exit code.
int chk_main(int argc, const char* const argv[]);

// Lists the embedded text header, one line per 64-byte row that holds text.
// Returns 0, or chk_header_refused. Leaves the image positioned at its end.
int chk_print_header(chk_state& state);

// Reads the header record and computes the checksum over state.rom_size ROM
// bytes, reading the stored one beside it. Returns 0, or chk_header_refused.
// Leaves the image positioned at its end.
int chk_verify_image(chk_state& state);

// Closes the log and the image, each only if open, and forgets both.
void chk_close_files(chk_state& state);
