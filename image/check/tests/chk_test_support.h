// Scratch files and child runs of the built qavchk for the QavChk tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder of the running test's own under the test scratch space.
std::filesystem::path scratch_dir();

void write_file(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
void write_text(const std::filesystem::path& path, const std::string& text);
std::string read_text(const std::filesystem::path& path);

struct child_run {
    int exit_code = 0;   // as the program returned it (negative codes restored)
    std::string output;  // standard output
};

// Runs the program folder's bin/qavchk with the arguments; standard output is
// collected through a file in dir.
child_run run_qavchk(const std::vector<std::string>& args, const std::filesystem::path& dir);
