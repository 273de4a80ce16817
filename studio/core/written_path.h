// The file that a write to a path lands in: the path made absolute, with ".",
// ".." and doubled slashes gone and every symbolic link followed, also a last
// one that points to a file not yet there (opening the path for writing would
// create that file).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Nothing when the path cannot be resolved (a folder that cannot be searched, a loop of links).
std::optional<std::filesystem::path> written_path(const std::string& path);
