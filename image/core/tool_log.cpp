#include "tool_log.h"

#include <cstdarg>

bool tool_log::open(const char* path) {
    close();
    file_ = std::fopen(path, "a");
    return file_ != nullptr;
}

void tool_log::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void tool_log::say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (file_) {
        va_list copy;
        va_copy(copy, args);
        std::vfprintf(file_, format, copy);
        va_end(copy);
    }
    std::vprintf(format, args);
    va_end(args);
}

void tool_log::log_only(const char* format, ...) {
    if (!file_) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file_, format, args);
    va_end(args);
}
