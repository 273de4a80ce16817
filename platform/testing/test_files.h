// Scratch files for tests: a folder of the running test's own, and whole
// files written and read back in one call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty folder for the running GoogleTest test under the test scratch
// space, named after the test program, suite and test, so that tests running
// in parallel never share one. It stays after the test for a look at its files.
std::string test_folder();

// Replace the file's content; throw std::runtime_error when it cannot be written.
void write_file(const std::filesystem::path& path, const std::vector<uint8_t>& content);
void write_text(const std::filesystem::path& path, const std::string& text);

// The file's content; empty when it cannot be read.
std::vector<uint8_t> read_file(const std::filesystem::path& path);
std::string read_text(const std::filesystem::path& path);

bool file_exists(const std::filesystem::path& path);
