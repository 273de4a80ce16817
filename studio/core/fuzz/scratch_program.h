// A small program folder for the start check's fuzz target and its seeds:
// bin/ with files of known bytes (one in a sub-folder, one empty), a folder
// and a pipe where files might be expected, and files beside bin and above
// the program folder that no list may make the check read.
#pragma once

#include <filesystem>

// The program folder inside `root`; make_scratch_program also writes
// root/top.txt beside it.
inline constexpr const char* kScratchProgramName = "prog";

// Creates the folder and its files; root must exist and hold none of them.
void make_scratch_program(const std::filesystem::path& root);
