// Writing a generated file whole, for the build-time generators, which name
// the file in their messages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Replaces the file's content. False with a message in `error` when it
// cannot be written completely.
bool write_output_file(const std::filesystem::path& path, std::string_view content, std::string& error);
bool write_output_file(const std::filesystem::path& path, const std::vector<uint8_t>& content, std::string& error);
