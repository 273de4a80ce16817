#include "regular_file.h"

#include <sys/stat.h>

namespace {

bool is_regular(FILE* file) {
    struct stat info;
    return ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

FILE* open_regular_file(const char* path, const char* mode) {
    struct stat info;
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    FILE* file = std::fopen(path, mode);
    if (file && !is_regular(file)) {
        std::fclose(file);
        file = nullptr;
    }
    return file;
}
