// Runs the installed qavgen as a child process, the way a user or KovaStudio
// runs it.
#pragma once

#include <string>
#include <vector>

struct qavgen_run {
    int exit_code = 0;   // the 8-bit status read back as a signed byte (-4 from 252)
    std::string out;     // standard output
    std::string err;     // standard error
};

// Standard input is a pipe carrying `input`, then closed. A file size limit
// other than 0 makes every write past that size fail, as on a full disk.
qavgen_run run_qavgen(const std::vector<std::string>& args, const std::string& input = "",
                      long file_size_limit = 0);

// Standard input, output and error are one pseudo-terminal. Once the output
// shows `prompt`, `keys` are typed (without Enter). `out` receives everything
// the terminal showed.
qavgen_run run_qavgen_on_terminal(const std::vector<std::string>& args, const std::string& prompt,
                                  const std::string& keys);

std::string qavgen_path();
