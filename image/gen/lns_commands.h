// The eight link-script commands. Each takes the value text (the rest of the
// line after the keyword) and returns 0, or a negative code that ends the run.
#pragma once

#include <cstdint>

#include "lns_state.h"

// The quoted-value parser: ="text" with nothing after the closing quote. Copies
// the text to `out` and returns true; refuses (false) an empty name, a value
// not of that form, and a text too long for the value buffer.
bool lns_unquote(const char* value, char (&out)[kLnsValueSize]);

int lns_out_file(const char* value);    // -1 bad value, -2 not openable
int lns_dup_file(const char* value);    // -1, -2; ="" means no duplicate
int lns_rom_size(const char* value);    // -1 bad number
int lns_add_file(const char* value);    // -1, -2, -3 no output image, -4 the user said No
int lns_set_parm(const char* value, int32_t base);    // -1
int lns_copy_range(const char* value, int32_t base);  // -1
int lns_check_sum(const char* value);   // -1, -2 no image, -3 bad image

// The interpreter: runs the link script named on the command line and returns
// the lns_exit_code.
int lns_main(int argc, char** argv);
