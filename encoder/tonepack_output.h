// The output of a run: written under a temporary name in the output's folder
// and renamed to the output only once every byte is written and the file is
// closed, so that a failed run never leaves a partial output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "regular_file.h"

// Throws run_failure when `path` names something other than a regular file
// (a folder, a pipe, a link) or a file this run reads.
void check_output_path(const std::string& path, const std::vector<file_identity>& inputs);

// Throws run_failure when the file cannot be written completely; the
// temporary file is then gone and `path` untouched.
void write_output(const std::string& path, const std::vector<uint8_t>& bytes);

// After a failed run: removes voice data of an earlier run at `path`, so that
// it is not taken for the result of this one. Any other file is left alone.
void remove_stale_output(const std::string& path);
