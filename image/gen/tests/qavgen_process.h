// The installed qavgen run as a child process, the way a user or KovaStudio
// runs it.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"

inline std::string qavgen_path() { return std::string(KOVA_DIR) + "/bin/qavgen"; }

// Standard input carries `input`, then ends. A file size limit other than 0
// makes every write past that size fail, as on a full disk.
inline child_result run_qavgen(const std::vector<std::string>& args, const std::string& input = "",
                               long file_size_limit = 0) {
    child_options options;
    options.input = input;
    options.file_size_limit = file_size_limit;
    return run_child(qavgen_path(), args, options);
}

// On a terminal: once the output shows `prompt`, `keys` are typed.
inline child_result run_qavgen_on_terminal(const std::vector<std::string>& args, const std::string& prompt,
                                           const std::string& keys) {
    return run_child_on_terminal(qavgen_path(), args, {{prompt, keys}});
}
