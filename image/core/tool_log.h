// Messages of the image tools: every line goes to standard output and, when a
// log file was named, to the log as well.
#pragma once

#include <cstdio>

class tool_log {
public:
    // Opens the log for appending as text; a log that cannot be opened is simply absent.
    bool open(const char* path);
    void close();
    bool is_open() const { return file_ != nullptr; }

    // Writes to the log (when open) and to standard output.
    void say(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Writes to the log only.
    void log_only(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    FILE* file_ = nullptr;
};
