#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <thread>

#include "child_run.h"
#include "command_line.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

using words = std::vector<std::string>;

std::string probe_command(const std::string& arguments) { return quote_short_path(CHILD_PROBE, "") + arguments; }

words lines_of(const std::string& text) {
    words lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool has_line(const words& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// What the probe found in the child: streams, other descriptors, signals.
words child_report(const std::string& folder, bool show_console) {
    const std::string report = folder + "/report.txt";
    EXPECT_EQ(run_child_command(probe_command("report " + quote_short_path(report, "")), show_console), 0);
    return lines_of(read_text(report));
}

std::string own_stream(int fd) { return fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string(); }

// Points the caller's standard streams at files of the test for its lifetime.
class redirected_streams {
public:
    explicit redirected_streams(const std::string& folder) {
        write_text(folder + "/in.txt", "typed\n");
        const std::string paths[] = {folder + "/in.txt", folder + "/out.txt", folder + "/err.txt"};
        std::fflush(nullptr);
        for (int fd = 0; fd <= 2; ++fd) {
            saved_[fd] = ::dup(fd);
            const int file = ::open(paths[fd].c_str(), fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(file, fd);
            ::close(file);
        }
    }
    ~redirected_streams() {
        std::fflush(nullptr);
        for (int fd = 0; fd <= 2; ++fd) {
            ::dup2(saved_[fd], fd);
            ::close(saved_[fd]);
        }
    }

private:
    int saved_[3] = {-1, -1, -1};
};

TEST(run_child_command_test, exit_codes_come_back_as_signed_bytes) {
    EXPECT_EQ(run_child_command(probe_command("exit 0"), false), 0);
    EXPECT_EQ(run_child_command(probe_command("exit 3"), false), 3);
    EXPECT_EQ(run_child_command(probe_command("exit 250"), false), -6);
    EXPECT_EQ(run_child_command(probe_command("exit 255"), false), -1);
    EXPECT_EQ(run_child_command(probe_command("exit 247"), false), -9);
    EXPECT_EQ(run_child_command(probe_command("exit 128"), false), -128);
    EXPECT_EQ(run_child_command(probe_command("exit 127"), false), 127);
    // The caller keeps its own mark for a child that still runs; an exit with
    // the same number is still just an exit code.
    EXPECT_EQ(run_child_command(probe_command("exit 99"), false), 99);
}

TEST(run_child_command_test, programs_that_cannot_start_give_97) {
    const std::string folder = test_folder();
    EXPECT_EQ(run_child_command("", false), child_not_started);
    EXPECT_EQ(run_child_command("   \t ", false), child_not_started);
    EXPECT_EQ(run_child_command("\"\" exit", false), child_not_started);
    EXPECT_EQ(run_child_command(quote_short_path(folder, "/missing") + "exit 0", false), child_not_started);

    const std::string plain = folder + "/plain";
    write_text(plain, "#!/bin/sh\nexit 0\n");
    ::chmod(plain.c_str(), 0644);
    EXPECT_EQ(run_child_command(quote_short_path(plain, ""), false), child_not_started);

    EXPECT_EQ(run_child_command(quote_short_path(folder, ""), false), child_not_started);

    // Marked executable, but neither a program nor a script with its interpreter named.
    const std::string garbage = folder + "/garbage";
    write_text(garbage, "this is no program\n");
    ::chmod(garbage.c_str(), 0755);
    EXPECT_EQ(run_child_command(quote_short_path(garbage, ""), false), child_not_started);

    // A script that names its interpreter does run.
    const std::string script = folder + "/script";
    write_text(script, "#!/bin/sh\nexit 5\n");
    ::chmod(script.c_str(), 0755);
    EXPECT_EQ(run_child_command(quote_short_path(script, ""), false), 5);
}

TEST(run_child_command_test, program_path_is_not_searched_along_path) {
    ASSERT_FALSE(fs::exists("true"));
    EXPECT_EQ(run_child_command("true", false), child_not_started);
    EXPECT_EQ(run_child_command("/bin/true", false), 0);
    EXPECT_EQ(run_child_command("/bin/sh -c \"exit 7\"", false), 7);
}

TEST(run_child_command_test, child_ended_by_a_signal_gives_98) {
    EXPECT_EQ(run_child_command(probe_command("signal 9"), false), child_no_exit_code);
    EXPECT_EQ(run_child_command(probe_command("signal 15"), false), child_no_exit_code);
    EXPECT_EQ(run_child_command("/bin/sh -c \"kill -TERM $$\"", false), child_no_exit_code);
}

TEST(run_child_command_test, a_failing_wait_gives_98) {
    // With SIGCHLD ignored the system reaps the child itself and leaves no
    // exit status to wait for: the wait fails once the child has ended.
    struct sigaction ignore{}, old{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGCHLD, &ignore, &old);
    const int result = run_child_command(probe_command("exit 5"), false);
    ::sigaction(SIGCHLD, &old, nullptr);
    EXPECT_EQ(result, child_no_exit_code);
}

TEST(run_child_command_test, hidden_console_streams_are_dev_null) {
    const std::string folder = test_folder();
    words report;
    {
        const redirected_streams streams(folder);
        report = child_report(folder, false);
    }
    EXPECT_TRUE(has_line(report, "fd0 /dev/null"));
    EXPECT_TRUE(has_line(report, "fd1 /dev/null"));
    EXPECT_TRUE(has_line(report, "fd2 /dev/null"));

    // A hidden child reads end of input at once and writes nowhere.
    int echoed = -100;
    {
        const redirected_streams streams(folder);
        echoed = run_child_command(probe_command("echo"), false);
    }
    EXPECT_EQ(echoed, 0);
    EXPECT_EQ(read_text(folder + "/out.txt"), "");
    EXPECT_EQ(read_text(folder + "/err.txt"), "");
}

TEST(run_child_command_test, shown_console_streams_are_the_callers) {
    const std::string folder = test_folder();
    words report;
    std::string caller[3];
    {
        const redirected_streams streams(folder);
        for (int fd = 0; fd <= 2; ++fd) caller[fd] = own_stream(fd);
        report = child_report(folder, true);
    }
    EXPECT_TRUE(has_line(report, "fd0 " + caller[0]));
    EXPECT_TRUE(has_line(report, "fd1 " + caller[1]));
    EXPECT_TRUE(has_line(report, "fd2 " + caller[2]));
    EXPECT_EQ(caller[0], fs::canonical(folder + "/in.txt").string());

    int echoed = -100;
    {
        const redirected_streams streams(folder);
        echoed = run_child_command(probe_command("echo"), true);
    }
    EXPECT_EQ(echoed, 0);
    EXPECT_EQ(read_text(folder + "/out.txt"), "out:typed\n");
    EXPECT_EQ(read_text(folder + "/err.txt"), "err:typed\n");
}

TEST(run_child_command_test, child_gets_no_descriptor_beyond_the_standard_three) {
    const std::string folder = test_folder();
    // Left inheritable on purpose: a careless owner elsewhere in the caller.
    const int open_file = ::open((folder + "/held.txt").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(open_file, 0);
    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    for (const bool shown : {false, true}) {
        for (const std::string& line : child_report(folder, shown)) EXPECT_NE(line.rfind("open ", 0), 0u) << line;
    }
    ::close(open_file);
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
}

TEST(run_child_command_test, child_starts_with_default_signals_and_nothing_blocked) {
    const std::string folder = test_folder();
    struct sigaction ignore{}, handle{}, old_int{}, old_pipe{}, old_term{}, old_hup{};
    ignore.sa_handler = SIG_IGN;
    handle.sa_handler = [](int) {};
    ::sigaction(SIGINT, &ignore, &old_int);
    ::sigaction(SIGPIPE, &ignore, &old_pipe);
    ::sigaction(SIGHUP, &ignore, &old_hup);
    ::sigaction(SIGTERM, &handle, &old_term);
    sigset_t blocked, old_mask;
    sigemptyset(&blocked);
    for (const int sig : {SIGUSR1, SIGUSR2, SIGTERM, SIGCHLD, SIGRTMIN}) sigaddset(&blocked, sig);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &old_mask);

    const words report = child_report(folder, false);
    // A child that the caller's ignoring would otherwise keep alive ends on its signal.
    const int ended = run_child_command(probe_command("signal " + std::to_string(SIGINT)), false);

    ::pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
    ::sigaction(SIGINT, &old_int, nullptr);
    ::sigaction(SIGPIPE, &old_pipe, nullptr);
    ::sigaction(SIGHUP, &old_hup, nullptr);
    ::sigaction(SIGTERM, &old_term, nullptr);

    EXPECT_EQ(ended, child_no_exit_code);
    for (const std::string& line : report) {
        EXPECT_NE(line.rfind("blocked ", 0), 0u) << line;
        EXPECT_NE(line.rfind("ignored ", 0), 0u) << line;
    }
    for (const int sig : {SIGINT, SIGPIPE, SIGHUP, SIGTERM})
        EXPECT_FALSE(has_line(report, "handled " + std::to_string(sig)));
}

TEST(run_child_command_test, program_folder_with_blanks_and_quotes) {
    const std::string folder = test_folder() + "/My \"Kova\" Studio\\ 2/";
    fs::create_directories(folder + "bin");
    fs::copy_file(CHILD_PROBE, folder + "bin/child_probe");
    const std::string command = quote_short_path(folder, "bin/child_probe") + "args " +
                                quote_short_path(folder, "temp out.txt") + "Word \"two  words\" tail\\\\ ";
    EXPECT_EQ(run_child_command(command, false), 0);
    EXPECT_EQ(lines_of(read_text(folder + "temp out.txt")),
              (words{folder + "bin/child_probe", "args", folder + "temp out.txt", "Word", "two  words", "tail\\\\"}));
}

TEST(run_child_command_test, worker_threads_each_get_their_own_child) {
    std::vector<int> results(6, -100);
    std::vector<std::thread> workers;
    for (size_t i = 0; i < results.size(); ++i)
        workers.emplace_back([&results, i] {
            results[i] = run_child_command(probe_command("exit " + std::to_string(250 + i)), false);
        });
    for (std::thread& worker : workers) worker.join();
    for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i], static_cast<int>(i) - 6);
}

}  // namespace
