// One run of tonepack: `tonepack SCRIPT OUTPUT` turns the encoder script
// KovaStudio writes into voice data. It reads only the files it is given,
// never standard input.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The exit code (run_failure.h); every message goes to `errors`, one a line.
int tonepack_run(const std::vector<std::string>& args, std::ostream& errors);
