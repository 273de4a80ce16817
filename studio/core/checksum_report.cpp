#include "checksum_report.h"

#include "regular_file.h"

namespace {

const std::string kResultStart = "Check Sum:";

bool is_upper_hex_digit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The digits of "Check Sum: [HHHH] Verify OK."; nothing for any other line.
std::optional<std::string> verified_checksum(const std::string& line) {
    const std::string head = kResultStart + " [";
    const std::string tail = "] Verify OK.";
    if (line.size() != head.size() + 4 + tail.size()) return std::nullopt;
    if (line.compare(0, head.size(), head) != 0 || line.compare(head.size() + 4, tail.size(), tail) != 0) {
        return std::nullopt;
    }
    const std::string digits = line.substr(head.size(), 4);
    for (const char c : digits) {
        if (!is_upper_hex_digit(c)) return std::nullopt;
    }
    return digits;
}

}  // namespace

std::optional<std::string> checksum_from_report(const std::string& report_text) {
    std::optional<std::string> result_line;
    size_t start = 0;
    while (start < report_text.size()) {
        size_t end = report_text.find('\n', start);
        if (end == std::string::npos) end = report_text.size();
        std::string line = report_text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, kResultStart.size(), kResultStart) == 0) result_line = line;
        start = end + 1;
    }
    if (!result_line) return std::nullopt;
    return verified_checksum(*result_line);
}

checksum_query_result checksum_query_outcome(int exit_code, const std::optional<std::string>& report_text,
                                             const std::string& failed_text, const std::string& load_error_text) {
    if (exit_code != 0) return {false, failed_text};
    if (!report_text) return {false, load_error_text};
    const std::optional<std::string> checksum = checksum_from_report(*report_text);
    if (!checksum) return {false, load_error_text};
    return {true, *checksum};
}

std::optional<std::string> read_checksum_report(const std::string& report_path) {
    return read_regular_file(report_path);
}
