#pragma once

#include <string>

// True when both files can be read and hold the same bytes up to the end of both.
bool files_equal(const std::string& first_path, const std::string& second_path);
