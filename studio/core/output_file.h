// Writing the text files of the compile pipeline: created or truncated, with
// every write and the close checked, so that a full disk or a folder in the
// file's place fails the step instead of leaving a short file behind a success.
#pragma once

#include <string>

#include "regular_file.h"

// Creates or truncates the file for writing. A pipe or socket in its place is
// refused without waiting for a reader; a folder cannot be opened. nullptr on
// failure.
owned_file create_output_file(const std::string& path);

// Writes all of the text; false when any byte could not be written.
bool put_text(FILE* file, const std::string& text);

// Writes what is still buffered; false when that fails.
bool flush_output(FILE* file);

// Closes the file (nothing when it is already closed); false when buffered
// bytes could not be written or the close failed.
bool close_output_file(owned_file& file);
