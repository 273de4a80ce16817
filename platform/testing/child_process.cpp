#include "child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

using steady = std::chrono::steady_clock;

// A child that ended by a signal has no exit code; the process layer reports 98 then.
constexpr int kNoExitCode = 98;

// Everything exec needs, made before fork: the child then calls only
// functions that are safe between fork and exec.
class child_start {
public:
    child_start(const std::string& path, const std::vector<std::string>& args, const child_options& options)
        : file_size_limit_(options.file_size_limit) {
        if (options.other_user && ::geteuid() == 0) {
            const passwd* user = ::getpwnam("nobody");
            const group* users = ::getgrnam("nogroup");
            user_ = user != nullptr ? user->pw_uid : kNobody;
            group_ = users != nullptr ? users->gr_gid : kNobody;
        }
        words_.push_back(path);
        words_.insert(words_.end(), args.begin(), args.end());
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            const bool replaced = std::any_of(options.environment.begin(), options.environment.end(),
                                              [&](const std::string& added) { return same_name(text, added); });
            if (!replaced) environment_.push_back(text);
        }
        environment_.insert(environment_.end(), options.environment.begin(), options.environment.end());
        for (std::string& word : words_) argv_.push_back(word.data());
        argv_.push_back(nullptr);
        for (std::string& entry : environment_) envp_.push_back(entry.data());
        envp_.push_back(nullptr);
    }

    [[noreturn]] void exec() const {
        std::signal(SIGPIPE, SIG_DFL);  // the runner ignores it; the program must not inherit that
        if (file_size_limit_ > 0) {
            std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the program
            const rlimit limit{static_cast<rlim_t>(file_size_limit_), static_cast<rlim_t>(file_size_limit_)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        // Raw system calls: they change this process alone, and nothing else runs in it after the fork.
        if (user_ != kSameUser &&
            (::syscall(SYS_setgroups, 0, nullptr) != 0 || ::syscall(SYS_setresgid, group_, group_, group_) != 0 ||
             ::syscall(SYS_setresuid, user_, user_, user_) != 0)) {
            ::_exit(126);
        }
        ::execve(argv_[0], argv_.data(), envp_.data());
        ::_exit(127);
    }

private:
    static bool same_name(const std::string& entry, const std::string& added) {
        const std::string name = added.substr(0, added.find('=')) + "=";
        return entry.compare(0, name.size(), name) == 0;
    }

    static constexpr uid_t kSameUser = static_cast<uid_t>(-1);
    static constexpr uid_t kNobody = 65534;

    long file_size_limit_;
    uid_t user_ = kSameUser;
    gid_t group_ = static_cast<gid_t>(-1);
    std::vector<std::string> words_, environment_;
    std::vector<char*> argv_, envp_;
};

int milliseconds_until(steady::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 200));
}

// Waits for the child's end, killing it at the deadline.
void finish(pid_t pid, steady::time_point deadline, child_result& result) {
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) break;
        if (ended < 0 && errno != EINTR) {
            result.exit_code = kNoExitCode;
            return;
        }
        if (steady::now() >= deadline && !result.killed_as_hung) {
            ::kill(pid, SIGKILL);
            result.killed_as_hung = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.exit_code = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : kNoExitCode;
}

// Waits until the program on the terminal reads single keys: a key typed while the terminal is still in line
// mode would be echoed by the terminal and wait for a line end. Gives up when the program has ended or at the
// deadline. (On the master side the terminal's mode is the program's side's mode.)
void wait_for_single_keys(int terminal, pid_t pid, steady::time_point deadline) {
    while (steady::now() < deadline) {
        termios mode{};
        if (::tcgetattr(terminal, &mode) == 0 && (mode.c_lflag & ICANON) == 0) return;
        siginfo_t ended{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void close_fd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

child_result run_child(const std::string& path, const std::vector<std::string>& args, const child_options& options) {
    const child_start start(path, args, options);
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for " + path);
    // A child that ends without reading all its input must not end the test with it.
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        start.exec();
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0) {
        for (int fd : {in[1], out[0], err[0]}) ::close(fd);
        throw std::runtime_error("cannot start " + path);
    }

    child_result result;
    const steady::time_point deadline = steady::now() + options.kill_after;
    // Input is fed while output is read, so a large input cannot block the run.
    size_t fed = 0;
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    ::fcntl(in[1], F_SETFL, O_NONBLOCK);
    if (options.input.empty()) close_fd(fds[2].fd);
    std::string* sinks[2] = {&result.output, &result.error_output};
    while ((fds[0].fd >= 0 || fds[1].fd >= 0) && steady::now() < deadline) {
        if (::poll(fds, 3, milliseconds_until(deadline)) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0)
                sinks[i]->append(buffer, static_cast<size_t>(got));
            else if (got == 0 || errno != EINTR)
                close_fd(fds[i].fd);
        }
        if (fds[2].fd >= 0 && fds[2].revents != 0) {
            const ssize_t put = ::write(fds[2].fd, options.input.data() + fed, options.input.size() - fed);
            if (put > 0) fed += static_cast<size_t>(put);
            if (fed == options.input.size() || (put < 0 && errno != EINTR && errno != EAGAIN)) close_fd(fds[2].fd);
        }
    }
    for (pollfd& fd : fds) close_fd(fd.fd);
    finish(pid, deadline, result);
    return result;
}

child_result run_child_on_terminal(const std::string& path, const std::vector<std::string>& args,
                                   const typed_keys& keys, const child_options& options) {
    const child_start start(path, args, options);
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) start.exec();
    if (pid < 0) throw std::runtime_error("no terminal for " + path);

    child_result result;
    const steady::time_point deadline = steady::now() + options.kill_after;
    size_t next = 0;
    size_t searched_from = 0;  // the output before this belongs to prompts already answered
    while (steady::now() < deadline) {
        pollfd fd{terminal, POLLIN, 0};
        if (::poll(&fd, 1, milliseconds_until(deadline)) <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // EIO once the child has gone
        result.output.append(buffer, static_cast<size_t>(got));
        for (size_t found; next < keys.size() &&
                           (found = result.output.find(keys[next].first, searched_from)) != std::string::npos;) {
            wait_for_single_keys(terminal, pid, deadline);
            (void)!::write(terminal, keys[next].second.data(), keys[next].second.size());
            searched_from = found + keys[next].first.size();
            ++next;
        }
    }
    ::close(terminal);
    finish(pid, deadline, result);
    return result;
}
