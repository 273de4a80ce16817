// Runs a program of the program folder as a child process, as a person would
// from a shell, and collects its exit code and standard output.
#pragma once

#include <string>
#include <vector>

struct program_result {
    int exit_code = 0;  // the 8-bit status read back as a signed byte
    std::string output;
};

// Runs the program at path with the arguments; `environment` entries
// (NAME=value) are added to the child's environment.
program_result run_path(const std::string& path, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment = {});
// The same for KOVA_DIR/bin/<program>.
program_result run_program(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment = {});
