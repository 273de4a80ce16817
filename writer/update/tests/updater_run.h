// Runs QavUpdate as a child process against a simulator, its standard input
// a pipe holding the given keys or a pseudo-terminal fed with keys once a
// prompt shows; gives its exit code (as the signed byte main returned) and
// its output.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

struct updater_run {
    int exit_code = 99;
    std::string output;
};

namespace updater_run_detail {

inline void exec_updater(const std::string& socket, const std::vector<std::string>& words) {
    ::setenv("KOVA_WRITER_SIM", socket.c_str(), 1);
    std::vector<std::string> argv_text = {KOVA_UPDATER};
    argv_text.insert(argv_text.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& word : argv_text) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

inline int exit_code_of(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 98;
}

}  // namespace updater_run_detail

// Standard input is a pipe with these bytes, then its end.
inline updater_run run_updater(const std::string& socket, const std::vector<std::string>& words,
                               const std::string& keys = "") {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        updater_run_detail::exec_updater(socket, words);
    }
    ::close(in[0]);
    ::close(out[1]);
    if (!keys.empty()) (void)!::write(in[1], keys.data(), keys.size());
    ::close(in[1]);
    updater_run run;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        run.output.append(buffer, static_cast<size_t>(got));
    }
    ::close(out[0]);
    run.exit_code = updater_run_detail::exit_code_of(pid);
    return run;
}

// Standard input and output are a terminal; each prompt's keys are typed
// when the output shows that prompt, in turn.
using typed_keys = std::vector<std::pair<std::string, std::string>>;  // prompt, keys

inline updater_run run_updater_on_terminal(const std::string& socket, const std::vector<std::string>& words,
                                           const typed_keys& script) {
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) updater_run_detail::exec_updater(socket, words);
    updater_run run;
    if (pid < 0) return run;
    size_t next = 0;
    size_t seen = 0;  // output up to here has been searched for a prompt
    char buffer[4096];
    for (;;) {
        pollfd poller{terminal, POLLIN, 0};
        if (::poll(&poller, 1, 60000) <= 0) break;
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // EIO once the child is gone
        run.output.append(buffer, static_cast<size_t>(got));
        const size_t found = next < script.size() ? run.output.find(script[next].first, seen) : std::string::npos;
        if (found != std::string::npos) {
            // Give the program time to switch the terminal to single keys.
            ::usleep(300000);
            (void)!::write(terminal, script[next].second.data(), script[next].second.size());
            seen = found + script[next].first.size();
            ++next;
        }
    }
    ::close(terminal);
    run.exit_code = updater_run_detail::exit_code_of(pid);
    return run;
}
