// Starts the writer simulator as a child process for one test, with its own
// socket, trace and chip-memory file in a fresh folder under KOVA_TEST_TMP,
// and ends it again. Writer tools reach it through make_socket_backend, or
// through the KOVA_WRITER_SIM variable when they run as child processes.
#pragma once

#ifndef KOVA_TEST_TMP
#error "writer_sim_fixture.h needs the KOVA_TEST_TMP definition of kova_gtest"
#endif

#include "hid_port.h"
#include "test_files.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

class writer_sim_process {
public:
    using payload = std::array<uint8_t, 64>;

    writer_sim_process() {
        std::filesystem::create_directories(KOVA_TEST_TMP);
        std::string pattern = std::string(KOVA_TEST_TMP) + "/sim-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    }
    ~writer_sim_process() {
        stop();
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    writer_sim_process(const writer_sim_process&) = delete;
    writer_sim_process& operator=(const writer_sim_process&) = delete;

    // Starts the simulator with these arguments besides --socket, --log and
    // --memory, and waits until it accepts connections. False when it did not
    // come up within half a minute (it takes milliseconds, but the machine may be busy).
    bool start(const std::vector<std::string>& arguments = {}) {
        stop();
        if (folder_.empty()) return false;
        // An ended simulator leaves its socket file behind; taken for the new
        // one's, it would let a test connect before the new simulator listens.
        // The simulator puts its socket in place only once it listens.
        ::unlink(socket_path().c_str());
        std::vector<std::string> words = {KOVA_WRITER_SIM_PROGRAM, "--socket", socket_path(), "--log",
                                          trace_path(),            "--memory", memory_path()};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // The simulator must not outlive a test that crashes.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(126);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (pid_ < 0) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            struct stat status {};
            if (::stat(socket_path().c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) return true;
            int exit_status = 0;
            if (::waitpid(pid_, &exit_status, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        stop();
        return false;
    }

    // Ends the simulator (its memory file stays).
    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int exit_status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (::waitpid(pid_, &exit_status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &exit_status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
    }

    bool running() const { return pid_ > 0; }
    const std::string& folder() const { return folder_; }
    std::string socket_path() const { return folder_ + "/sock"; }
    std::string trace_path() const { return folder_ + "/trace.txt"; }
    std::string memory_path() const { return folder_ + "/chip.bin"; }
    // For writer tools started as child processes.
    std::string environment_entry() const { return std::string(kWriterSimEnv) + "=" + socket_path(); }
    std::unique_ptr<hid_backend> backend() const { return make_socket_backend(socket_path()); }

    // The chip's memory as the simulator holds it.
    std::vector<uint8_t> memory() const { return read_file(memory_path()); }
    // Preloads the chip before start: the bytes from address 0, the rest blank.
    void preload_memory(const std::vector<uint8_t>& bytes) const { write_file(memory_path(), bytes); }

    std::vector<std::string> trace_lines() const {
        std::ifstream file(trace_path());
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }
    // The payloads of every report the simulator received, in order.
    std::vector<payload> received_reports() const {
        std::vector<payload> reports;
        for (const std::string& line : trace_lines()) {
            if (line.rfind("rx ", 0) != 0) continue;
            std::istringstream bytes(line.substr(3));
            payload report{};
            unsigned value = 0;
            for (size_t i = 0; i < report.size() && (bytes >> std::hex >> value); ++i) {
                report[i] = static_cast<uint8_t>(value);
            }
            reports.push_back(report);
        }
        return reports;
    }
    // Byte 0 of every report received, in order.
    std::vector<uint8_t> received_commands() const {
        std::vector<uint8_t> commands;
        for (const payload& report : received_reports()) commands.push_back(report[0]);
        return commands;
    }

private:
    std::string folder_;
    pid_t pid_ = -1;
};

// Tries `open` every few milliseconds until it succeeds, as a user retries a writer that restarts, for at most
// `limit`; its last result. A restart's length is the simulator's to keep, not the test's to guess at.
template <typename Open>
bool open_once_back(Open open, std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!open()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
