#include "qavgen_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>

namespace {

constexpr auto kRunLimit = std::chrono::seconds(20);  // a run that takes longer hangs

std::vector<char*> argv_of(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

int wait_exit_code(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) return 1000;  // killed: no exit code
    return static_cast<signed char>(WEXITSTATUS(status));
}

bool timed_out(std::chrono::steady_clock::time_point start) {
    return std::chrono::steady_clock::now() - start > kRunLimit;
}

}  // namespace

std::string qavgen_path() { return std::string(KOVA_DIR) + "/bin/qavgen"; }

qavgen_run run_qavgen(const std::vector<std::string>& args, const std::string& input, long file_size_limit) {
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return {1000, "", "pipe failed"};
    std::vector<std::string> all{qavgen_path()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = argv_of(all);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
        if (file_size_limit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(file_size_limit), static_cast<rlim_t>(file_size_limit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    std::signal(SIGPIPE, SIG_IGN);
    if (!input.empty()) (void)!::write(in[1], input.data(), input.size());
    ::close(in[1]);

    qavgen_run run;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    const auto start = std::chrono::steady_clock::now();
    int open_streams = 2;
    while (open_streams > 0 && !timed_out(start)) {
        if (::poll(fds, 2, 200) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(got));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_streams;
            }
        }
    }
    if (open_streams > 0) ::kill(pid, SIGKILL);
    for (const pollfd& fd : fds)
        if (fd.fd >= 0) ::close(fd.fd);
    run.exit_code = wait_exit_code(pid);
    return run;
}

qavgen_run run_qavgen_on_terminal(const std::vector<std::string>& args, const std::string& prompt,
                                  const std::string& keys) {
    std::vector<std::string> all{qavgen_path()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = argv_of(all);
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    qavgen_run run;
    if (pid < 0) return {1000, "", "forkpty failed"};
    bool typed = false;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (timed_out(start)) {
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd fd{terminal, POLLIN, 0};
        if (::poll(&fd, 1, 200) <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) break;  // EIO once the child has gone
        run.out.append(buffer, static_cast<size_t>(got));
        if (!typed && run.out.find(prompt) != std::string::npos) {
            typed = true;
            // Let the program reach its key read first, as a person would.
            ::usleep(100 * 1000);
            (void)!::write(terminal, keys.data(), keys.size());
        }
    }
    ::close(terminal);
    run.exit_code = wait_exit_code(pid);
    return run;
}
