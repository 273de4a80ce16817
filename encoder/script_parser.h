// Reads an encoder script in exactly the form KovaStudio writes it: every line
// ends with CR LF, every blank and tab stands where it is written, and the
// settings come in their fixed order. Anything else is refused with the number
// of the first line that differs.
#pragma once

#include <optional>
#include <string_view>

#include "tonepack_script.h"

struct script_parse_result {
    encoder_script script;              // complete only when error is empty
    std::optional<script_error> error;
};

script_parse_result parse_encoder_script(std::string_view text);
