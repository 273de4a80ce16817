// KovaStudio as a real process on an X server of the test's own (Xvfb, no
// window manager), and the user's moves on its windows through xdotool.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// An Xvfb server on a free display, ended with the object.
class x_session {
public:
    x_session();
    ~x_session();
    x_session(const x_session&) = delete;
    x_session& operator=(const x_session&) = delete;

    bool ok() const { return !display_.empty(); }
    const std::string& display() const { return display_; }

    // The ids of the mapped windows whose name matches the regular expression, without regard to letter case
    // (of `pid` only, when above 0).
    std::vector<std::string> visible_windows(const std::string& name, pid_t pid = 0) const;
    // Waits until such a window is mapped; its id, or "" when none showed within `limit`.
    std::string wait_for_window(const std::string& name, std::chrono::seconds limit) const;
    // Focuses the window and presses a key there ("Return").
    bool press_key(const std::string& window, const std::string& key) const;
    // Clicks the left button at a point of the window.
    bool click(const std::string& window, int x, int y) const;
    // The window's size.
    bool window_size(const std::string& window, int& width, int& height) const;

private:
    int xdotool(const std::vector<std::string>& words, std::string* output = nullptr) const;
    pid_t pid_ = -1;
    std::string display_;
};

// A program started with its standard output and error in files, killed with the object when still running.
class program_process {
public:
    // `environment`: NAME=value entries added to this process's environment.
    program_process(const std::string& path, const std::vector<std::string>& environment,
                    const std::string& output_file);
    ~program_process();
    program_process(const program_process&) = delete;
    program_process& operator=(const program_process&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // Waits for the end; the exit code as a signed byte, 98 for a signal, or -1000 when still running.
    int wait_for_exit(std::chrono::seconds limit);
    void kill(int signal);

private:
    pid_t pid_ = -1;
    int exit_code_ = -1000;
};
