#include "x_session.h"

#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

// A command and its environment (this process's, with entries added), made before fork: the child then
// calls only functions that are safe between fork and exec.
class prepared_command {
public:
    prepared_command(std::vector<std::string> words, std::vector<std::string> added)
        : words_(std::move(words)), added_(std::move(added)) {
        for (std::string& word : words_) argv_.push_back(word.data());
        argv_.push_back(nullptr);
        for (char** entry = environ; *entry != nullptr; ++entry) {
            if (!replaced(*entry)) envp_.push_back(*entry);
        }
        for (std::string& entry : added_) envp_.push_back(entry.data());
        envp_.push_back(nullptr);
    }

    // The child side of a fork: dies with the test, then runs the program.
    [[noreturn]] void exec(pid_t parent) const {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(126);
        ::execve(argv_[0], argv_.data(), envp_.data());
        ::_exit(127);
    }

private:
    bool replaced(const std::string& entry) const {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& added : added_) {
            if (added.compare(0, name.size(), name) == 0) return true;
        }
        return false;
    }
    std::vector<std::string> words_, added_;
    std::vector<char*> argv_, envp_;
};

int end_status(int status) {
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 98;
}

}  // namespace

x_session::x_session() {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return;
    const std::string fd = std::to_string(pipe_ends[1]);
    const prepared_command command({"/usr/bin/Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten",
                                    "tcp", "-noreset"},
                                   {});
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(pipe_ends[0]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        command.exec(parent);
    }
    ::close(pipe_ends[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    pollfd waiting{pipe_ends[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&waiting, 1, 60000) == 1) {
        char c;
        if (::read(pipe_ends[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    ::close(pipe_ends[0]);
    if (!number.empty()) display_ = ":" + number;
}

x_session::~x_session() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

int x_session::xdotool(const std::vector<std::string>& words, std::string* output) const {
    child_options options;
    options.environment = {"DISPLAY=" + display_};
    options.kill_after = std::chrono::seconds(30);
    const child_result result = run_child("/usr/bin/xdotool", words, options);
    if (output != nullptr) *output = result.output;
    return result.exit_code;
}

std::vector<std::string> x_session::visible_windows(const std::string& name, pid_t pid) const {
    std::vector<std::string> words = {"search", "--onlyvisible"};
    if (pid > 0) words.insert(words.end(), {"--all", "--pid", std::to_string(pid)});
    words.insert(words.end(), {"--name", name});
    std::string output;
    xdotool(words, &output);
    std::vector<std::string> ids;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) ids.push_back(line);
    }
    return ids;
}

std::string x_session::wait_for_window(const std::string& name, std::chrono::seconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        const std::vector<std::string> ids = visible_windows(name);
        if (!ids.empty()) return ids.front();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return "";
}

bool x_session::press_key(const std::string& window, const std::string& key) const {
    return xdotool({"windowfocus", "--sync", window, "key", key}) == 0;
}

bool x_session::click(const std::string& window, int x, int y) const {
    return xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"}) == 0;
}

bool x_session::window_size(const std::string& window, int& width, int& height) const {
    std::string output;
    if (xdotool({"getwindowgeometry", "--shell", window}, &output) != 0) return false;
    std::istringstream lines(output);
    width = height = -1;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("WIDTH=", 0) == 0) width = std::atoi(line.c_str() + 6);
        if (line.rfind("HEIGHT=", 0) == 0) height = std::atoi(line.c_str() + 7);
    }
    return width > 0 && height > 0;
}

program_process::program_process(const std::string& path, const std::vector<std::string>& environment,
                                 const std::string& output_file) {
    const prepared_command command({path}, environment);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        const int null = ::open("/dev/null", O_RDONLY);
        const int out = ::open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(null, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        command.exec(parent);
    }
}

program_process::~program_process() {
    if (running()) kill(SIGKILL);
    wait_for_exit(std::chrono::seconds(60));
}

bool program_process::running() {
    if (pid_ <= 0 || exit_code_ != -1000) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
    exit_code_ = end_status(status);
    return false;
}

int program_process::wait_for_exit(std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (running()) {
        if (std::chrono::steady_clock::now() > deadline) return -1000;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return exit_code_;
}

void program_process::kill(int signal) {
    if (running()) ::kill(pid_, signal);
}
