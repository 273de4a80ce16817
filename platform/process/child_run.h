// Starts one child program from a command-line text and waits for its end,
// giving back one number: the child's exit code, or a mark for a child that
// could not be started or left no exit code. Safe to call from a worker thread.
#pragma once

#include <string>

// The child program could not be started: missing, not executable, a folder,
// or an empty command line.
inline constexpr int child_not_started = 97;
// The child ended without an exit code (a signal ended it), or the wait for
// its end failed.
inline constexpr int child_no_exit_code = 98;

// Splits `command_line` with split_command_line; the first argument is the
// program path, used as given (no search along PATH). Without `show_console`
// the child's standard input, output and error are /dev/null; with it they
// are the caller's. The child inherits no other descriptor, and starts with
// default handling for every signal and nothing blocked. Waits without a
// time limit and returns the exit status as a signed byte (250 gives -6),
// child_no_exit_code or child_not_started.
int run_child_command(const std::string& command_line, bool show_console);
