// Opening files that the image tools read as images: only a regular file
// counts. A folder opens for reading on this system but yields no bytes, and a
// pipe can neither be rewound nor be relied on to end.
#pragma once

#include <cstdio>
#include <memory>

// Opens the file at `path` with the stdio `mode` when it is a regular file;
// nullptr otherwise. The kind is checked before opening, so that naming a pipe
// does not wait for a writer, and again on the open file.
FILE* open_regular_file(const char* path, const char* mode);

// An open file that closes itself.
struct file_closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using owned_file = std::unique_ptr<FILE, file_closer>;
