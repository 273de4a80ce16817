// A named pipe without a writer, and a guard that a reader named it without
// waiting: opening such a pipe for reading blocks until a writer comes, so a
// reader that forgets to check the file kind would hang the window.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

inline std::string make_fifo(const std::string& path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}

// The result of read(), which is given the pipe; the test fails when it has not
// returned within a few seconds, and a writer is then opened and closed so
// that the blocked reader sees the end and the test can go on.
template <typename Read>
auto without_waiting(const std::string& fifo, Read read) {
    auto result = std::async(std::launch::async, read);
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading " << fifo << " waited for a writer";
        // The blocked reader is there, so opening to write does not wait.
        if (FILE* writer = std::fopen(fifo.c_str(), "w")) std::fclose(writer);
    }
    return result.get();
}
