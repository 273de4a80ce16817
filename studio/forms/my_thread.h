// The one way KovaStudio runs a child program: the GUI thread writes the
// command line and marks the result as running, a worker thread starts the
// program, waits for its end and stores its exit code, and the GUI thread keeps
// the windows alive in a local event loop until the worker's done notice ends
// it. One child at a time, program-wide.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

// The command line of the next child program, written by the GUI thread before the worker starts.
extern std::string ChildCommandLine;
// 99 while a child is being started or runs; then 97 (could not start), 98 (no exit status, or ended by a
// signal) or the exit status as a signed number.
extern std::atomic<int> ChildResult;
// setup.ini [System] DbgMode: the command line is shown in a "Thread!" box before each child starts, and the
// child's standard streams are KovaStudio's own instead of /dev/null.
extern std::atomic<bool> DebugMode;

inline constexpr int kChildRunning = 99;
inline constexpr int kChildNotStarted = 97;
inline constexpr int kChildNoExitCode = 98;

// The worker of one child run. Start runs Execute on a thread of its own, which frees the object when it
// returns; a thread that cannot be created makes the result 97.
class TMyThread {
public:
    explicit TMyThread(bool CreateSuspended);
    TMyThread(const TMyThread&) = delete;
    TMyThread& operator=(const TMyThread&) = delete;
    void Start();

private:
    void Execute();
    std::string command_line_;
    bool show_console_ = false;
    unsigned serial_ = 0;
};

// Runs `command_line` as the next child program and returns its result (ChildResult). While it runs, the GUI
// thread handles events; when `cadence` is above zero, `tick` runs on the GUI thread each time a whole cadence
// has passed since the start or the end of the last tick, never sooner (the start form's dots, the writer page's
// progress). A second call while a child runs starts nothing and returns 97. `last_thread` receives the worker,
// as the forms keep it.
int RunChildProgram(const std::string& command_line, TMyThread*& last_thread,
                    std::chrono::milliseconds cadence = std::chrono::milliseconds(0),
                    const std::function<void()>& tick = {});

// True from the start of a child run until its caller has its result.
bool ChildProgramRunning();
