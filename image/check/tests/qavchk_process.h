// The program folder's bin/qavchk run as a child process.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"

inline child_result run_qavchk(const std::vector<std::string>& args) {
    return run_child(std::string(KOVA_DIR) + "/bin/qavchk", args);
}
