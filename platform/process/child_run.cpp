#include "child_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "command_line.h"

extern char** environ;

namespace {

// The attributes and file actions of one start, released on every path.
class spawn_setup {
public:
    spawn_setup() {
        attributes_ok_ = ::posix_spawnattr_init(&attributes_) == 0;
        actions_ok_ = ::posix_spawn_file_actions_init(&actions_) == 0;
    }
    ~spawn_setup() {
        if (attributes_ok_) ::posix_spawnattr_destroy(&attributes_);
        if (actions_ok_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    spawn_setup(const spawn_setup&) = delete;
    spawn_setup& operator=(const spawn_setup&) = delete;

    // GUI toolkits block or ignore signals in their own threads; an ignored
    // signal and the mask would otherwise pass on through exec.
    bool reset_signals() {
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        return attributes_ok_ && ::posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
               ::posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
    }

    // A hidden console: the child reads end of input at once and writes into nothing.
    bool hide_console() {
        const std::pair<int, int> streams[] = {
            {STDIN_FILENO, O_RDONLY}, {STDOUT_FILENO, O_WRONLY}, {STDERR_FILENO, O_WRONLY}};
        for (const auto& [fd, mode] : streams)
            if (!actions_ok_ || ::posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", mode, 0) != 0)
                return false;
        return true;
    }

    // No descriptor of the caller beyond the three standard ones reaches the
    // child, whether or not its owner marked it close-on-exec: an inherited
    // pipe end could keep a reader of the caller waiting for ever.
    bool inherit_standard_streams_only() {
        return actions_ok_ && ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0;
    }

    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

private:
    posix_spawnattr_t attributes_{};
    posix_spawn_file_actions_t actions_{};
    bool attributes_ok_ = false;
    bool actions_ok_ = false;
};

int wait_for_exit_code(pid_t pid) {
    int status = 0;
    pid_t ended;
    do {
        ended = ::waitpid(pid, &status, 0);
    } while (ended < 0 && errno == EINTR);
    if (ended != pid || !WIFEXITED(status)) return child_no_exit_code;
    return static_cast<signed char>(WEXITSTATUS(status));
}

}  // namespace

int run_child_command(const std::string& command_line, bool show_console) {
    std::vector<std::string> arguments = split_command_line(command_line);
    if (arguments.empty() || arguments.front().empty()) return child_not_started;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    spawn_setup setup;
    if (!setup.reset_signals() || !setup.inherit_standard_streams_only()) return child_not_started;
    if (!show_console && !setup.hide_console()) return child_not_started;
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ) != 0)
        return child_not_started;
    return wait_for_exit_code(pid);
}
