// A stand-in child program for the process tests. It reports what it was
// given (arguments, standard streams, other descriptors, signal state) into a
// file, or ends in a chosen way:
//   child_probe exit N          exits with N
//   child_probe signal N        ends itself with signal N
//   child_probe report FILE     writes its streams, descriptors and signals to FILE
//   child_probe args FILE ...   writes each argument (argv[0] first) on a line of FILE
//   child_probe echo            copies standard input to standard output and error
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string link_target(const std::string& path) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    return n < 0 ? "?" : std::string(target, static_cast<size_t>(n));
}

// Every line is gathered before FILE is opened, so that FILE is not among the descriptors.
std::vector<std::string> report_lines() {
    std::vector<std::string> lines;
    for (int fd = 0; fd <= 2; ++fd)
        lines.push_back("fd" + std::to_string(fd) + " " + link_target("/proc/self/fd/" + std::to_string(fd)));
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder != nullptr) {
        while (const dirent* entry = ::readdir(folder)) {
            const int fd = std::atoi(entry->d_name);
            if (entry->d_name[0] == '.' || fd <= 2 || fd == ::dirfd(folder)) continue;
            const std::string name = entry->d_name;
            lines.push_back("open " + name + " " + link_target("/proc/self/fd/" + name));
        }
        ::closedir(folder);
    }
    sigset_t blocked;
    ::sigprocmask(SIG_BLOCK, nullptr, &blocked);
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sigismember(&blocked, sig) == 1) lines.push_back("blocked " + std::to_string(sig));
        struct sigaction action{};
        if (::sigaction(sig, nullptr, &action) != 0) continue;
        if (action.sa_handler == SIG_IGN) lines.push_back("ignored " + std::to_string(sig));
        else if (action.sa_handler != SIG_DFL) lines.push_back("handled " + std::to_string(sig));
    }
    return lines;
}

int write_lines(const char* path, const std::vector<std::string>& lines) {
    FILE* out = std::fopen(path, "w");
    if (out == nullptr) return 3;
    for (const std::string& line : lines) std::fprintf(out, "%s\n", line.c_str());
    return std::fclose(out) == 0 ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "exit" && argc == 3) return std::atoi(argv[2]);
    if (mode == "signal" && argc == 3) {
        ::kill(::getpid(), std::atoi(argv[2]));
        return 2;  // the signal was not deadly
    }
    if (mode == "report" && argc == 3) return write_lines(argv[2], report_lines());
    if (mode == "args" && argc >= 3) return write_lines(argv[2], std::vector<std::string>(argv, argv + argc));
    if (mode == "echo") {
        std::string input;
        for (int c; (c = std::getchar()) != EOF;) input += static_cast<char>(c);
        std::printf("out:%s", input.c_str());
        std::fprintf(stderr, "err:%s", input.c_str());
        return 0;
    }
    std::fprintf(stderr, "child_probe: unknown use\n");
    return 4;
}
