#include "program_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

program_result run_program(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment) {
    return run_path(std::string(KOVA_DIR) + "/bin/" + program, arguments, environment);
}

program_result run_path(const std::string& path, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment) {
    program_result result;
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {97, ""};
    std::vector<std::string> words = {path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipe_ends[1], STDOUT_FILENO);
        ::close(pipe_ends[0]);
        ::close(pipe_ends[1]);
        for (const std::string& entry : environment) ::putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execve(path.c_str(), argv.data(), environ);
        ::_exit(127);
    }
    ::close(pipe_ends[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, n);
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 98;
    return result;
}
