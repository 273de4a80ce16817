// A stand-in for a child program of KovaStudio, for endings the real programs
// cannot be made to give (an exit code of 99, a signal, a long run). What it
// does is read from the environment, so that it can stand under any program
// name (a link bin/QavUpdate<FwVer> to it):
//   KOVA_STAND_IN      rules "WORD:ACTION" separated by ";"; the first rule whose WORD is the first argument,
//                      or "*", applies. ACTION: an exit code (-1, 99, ...), "signal" (ends by SIGKILL), or
//                      "sleep=MS,CODE" (waits MS milliseconds, then exits with CODE). No rule: exit 0.
//   KOVA_STAND_IN_LOG  when set, a line with the arguments (after the program name) is appended to this file
//                      at the start.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string rule_for(const std::string& rules, const std::string& word) {
    size_t start = 0;
    while (start <= rules.size()) {
        size_t end = rules.find(';', start);
        if (end == std::string::npos) end = rules.size();
        const std::string rule = rules.substr(start, end - start);
        const size_t colon = rule.find(':');
        if (colon != std::string::npos) {
            const std::string rule_word = rule.substr(0, colon);
            if (rule_word == "*" || rule_word == word) return rule.substr(colon + 1);
        }
        start = end + 1;
    }
    return "0";
}

void log_arguments(int argc, char** argv) {
    const char* log = std::getenv("KOVA_STAND_IN_LOG");
    if (log == nullptr || log[0] == '\0') return;
    FILE* file = std::fopen(log, "a");
    if (file == nullptr) return;
    for (int i = 1; i < argc; ++i) std::fprintf(file, "%s%s", i > 1 ? " " : "", argv[i]);
    std::fprintf(file, "\n");
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    log_arguments(argc, argv);
    const char* rules = std::getenv("KOVA_STAND_IN");
    std::string action = rule_for(rules == nullptr ? "" : rules, argc > 1 ? argv[1] : "");
    if (action == "signal") {
        ::kill(::getpid(), SIGKILL);
        ::pause();
    }
    if (action.rfind("sleep=", 0) == 0) {
        const size_t comma = action.find(',');
        const long ms = std::strtol(action.c_str() + 6, nullptr, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        action = comma == std::string::npos ? "0" : action.substr(comma + 1);
    }
    return static_cast<int>(std::strtol(action.c_str(), nullptr, 10));
}
