// The program folder's bin/qavchk run as a child process.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"

inline child_result run_qavchk(const std::vector<std::string>& args, const child_options& options = {}) {
    return run_child(std::string(KOVA_DIR) + "/bin/qavchk", args, options);
}

// Runs the child as a user without the tests' privileges, so that file permissions hold for it.
inline child_options as_other_user() {
    child_options options;
    options.other_user = true;
    return options;
}
