// Runs a program as a child process, the way a person runs it from a shell,
// and collects what it leaves: exit code, standard output, standard error.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

struct child_options {
    std::string input;                     // standard input: a pipe carrying these bytes, then closed
                                           // (run_child only)
    std::vector<std::string> environment;  // NAME=value entries added to the child's environment
    long file_size_limit = 0;              // when above 0, writes past this size fail as on a full disk
    std::chrono::seconds kill_after{120};  // a child still running then is taken as hung and killed
    bool other_user = false;               // run by root, the child runs as nobody:nogroup without further
                                           // groups, so that file permissions hold for it as for any user
};

struct child_result {
    int exit_code = 0;         // the signed byte main returned (-6 from 250); 98 when a signal ended it
    std::string output;        // standard output (on a terminal: everything the terminal showed)
    std::string error_output;  // standard error (empty on a terminal)
    bool killed_as_hung = false;
};

// True when `part` stands anywhere in `text`, such as a line in a child's output.
inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Prompts and the keys typed once the output shows each one, in turn.
using typed_keys = std::vector<std::pair<std::string, std::string>>;

// Standard output and standard error are pipes read together, so that
// neither fills up. Throws std::runtime_error when the child cannot be started.
child_result run_child(const std::string& path, const std::vector<std::string>& args,
                       const child_options& options = {});

// Standard input, output and error are one pseudo-terminal. Each pair's keys
// are typed (without Enter) once the output after the previous prompt shows
// the pair's prompt, and the program has switched the terminal to single
// keys.
child_result run_child_on_terminal(const std::string& path, const std::vector<std::string>& args,
                                   const typed_keys& keys, const child_options& options = {});
