// Reading a whole text file that a child program or the installation left,
// such as a settings file or a report: only a regular file is read, so that a
// pipe or a folder in its place gives nothing at once instead of a wait.
#pragma once

#include <optional>
#include <string>

// The file's whole content; nothing when it is no regular file or a read fails.
std::optional<std::string> read_regular_text(const std::string& path);
