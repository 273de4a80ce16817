// Removing a file that a child program is about to write afresh. The removal is
// repeated while the file is still there, but only a bounded number of times:
// something that cannot be removed (a folder with entries in its place, a
// folder without write permission) must not hold up the caller for ever.
#pragma once

#include <string>

inline constexpr int kRemovalTries = 10;

// True when nothing is left at `path` (also when nothing was there).
bool remove_file_tries(const std::string& path, int tries = kRemovalTries);
