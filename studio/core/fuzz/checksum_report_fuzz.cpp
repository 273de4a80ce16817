// Fuzz target: reading the image checker's report for the checksum. Input: the
// report; the checker's exit code and whether the report could be read are
// drawn from it.
#include <cctype>
#include <optional>
#include <string>

#include "checksum_report.h"
#include "fuzz_support.h"

namespace {

const std::string kFailed = "Check failed!", kLoadError = "Load error!";

// The checksum of the report's last line that begins with "Check Sum:", when
// that line is the checker's OK line.
std::optional<std::string> expected_checksum(const std::string& report) {
    std::optional<std::string> last;
    size_t start = 0;
    do {
        const size_t end = report.find('\n', start);
        std::string line = report.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("Check Sum:", 0) == 0) last = line;
        start = end == std::string::npos ? report.size() + 1 : end + 1;
    } while (start <= report.size());
    // Each "#" of the OK line stands for an upper-case hexadecimal digit.
    const std::string ok_line = "Check Sum: [####] Verify OK.";
    if (!last || last->size() != ok_line.size()) return std::nullopt;
    for (size_t i = 0; i < ok_line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>((*last)[i]);
        if (ok_line[i] == '#' ? !std::isxdigit(c) || std::islower(c) : c != static_cast<unsigned char>(ok_line[i]))
            return std::nullopt;
    }
    return last->substr(ok_line.find('#'), 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string report(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> checksum = checksum_from_report(report);
    const std::optional<std::string> expected = expected_checksum(report);
    KOVA_PROMISE(checksum == expected, "checksum " + checksum.value_or("none") + ", " + expected.value_or("none") +
                                           " expected");

    kova_fuzz::choices pick(data, size);
    const int exit_code = pick.next() % 4 == 0 ? static_cast<int>(pick.between(0, 8)) - 5 : 0;
    const std::optional<std::string> read = pick.next() % 8 == 0 ? std::nullopt : std::optional<std::string>(report);
    const checksum_query_result outcome = checksum_query_outcome(exit_code, read, kFailed, kLoadError);
    if (exit_code != 0) {
        KOVA_PROMISE(!outcome.ok && outcome.text == kFailed, "exit code " + std::to_string(exit_code));
    } else if (!read || !expected) {
        KOVA_PROMISE(!outcome.ok && outcome.text == kLoadError, "no checksum, outcome " + outcome.text);
    } else {
        KOVA_PROMISE(outcome.ok && outcome.text == *expected, "checksum " + *expected + ", outcome " + outcome.text);
    }

    // The report as the checker left it on disk reads back whole.
    static const std::string path = (kova_fuzz::scratch_folder("checksum_report") / "temp.csm").string();
    kova_fuzz::write_file(path, data, size);
    KOVA_PROMISE(read_checksum_report(path) == report, "the report read back");
    return 0;
}
