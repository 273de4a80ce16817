// Fuzz target: the start form's system-file check. Input: bin/SysChk.lst of a
// small program folder (scratch_program.h). A model walks the list's lines and
// says where the check must stop and why; a name that climbs out of bin, even
// for a moment, or that no file can have, must stop it as a missing file
// without being read. The input's lines, written as entries, must also read
// back as the same names and codes.
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "scratch_program.h"
#include "system_file_list.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kEntriesWritten = 16;

struct fixture {
    std::string program;  // ends with "/"
    fs::path bin;         // without a final "/"
};

const fixture& the_fixture() {
    static const fixture f = [] {
        const fs::path root = kova_fuzz::scratch_folder("system_file_list");
        make_scratch_program(root);
        const fs::path program = root / kScratchProgramName;
        return fixture{program.string() + "/", program / "bin"};
    }();
    return f;
}

// The list's lines: each ends at a line feed, which goes with one carriage
// return before it; a last line without a line feed counts.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// True when bin/name, and every folder on the way to it, lies within bin.
bool stays_in_bin(const fs::path& bin, const std::string& name) {
    if (name.find('\0') != std::string::npos) return false;
    for (size_t end = 0; end <= name.size(); ++end) {
        if (end < name.size() && name[end] != '/') continue;
        const fs::path reached = fs::path(bin.string() + "/" + name.substr(0, end)).lexically_normal();
        auto b = bin.begin();
        for (auto r = reached.begin(); b != bin.end() && r != reached.end() && *b == *r; ++b, ++r) {
        }
        if (b != bin.end()) return false;
    }
    return true;
}

std::optional<uint32_t> sum_of(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    uint32_t sum = 0;
    for (std::istreambuf_iterator<char> at(in), end; at != end; ++at) sum += static_cast<unsigned char>(*at);
    if (in.bad()) return std::nullopt;
    return sum;
}

struct expectation {
    system_check_result result;
    size_t lines_read = 0;  // up to the one that stopped the check
};

expectation expected_check(const fixture& f, const std::vector<std::string>& lines) {
    expectation e;
    for (const std::string& line : lines) {
        ++e.lines_read;
        const std::optional<system_file_entry> entry = parse_system_file_line(line);
        if (!entry) continue;
        const std::string path = f.program + "bin/" + entry->name;
        const std::optional<uint32_t> sum = stays_in_bin(f.bin, entry->name) ? sum_of(path) : std::nullopt;
        if (!sum) {
            e.result = {system_check_result::file_missing, path, entry->expected_code, ""};
            return e;
        }
        const std::string code = format_file_code(*sum);
        if (code != entry->expected_code) {
            e.result = {system_check_result::code_mismatch, path, entry->expected_code, code};
            return e;
        }
    }
    return e;
}

std::string described(const system_check_result& r) {
    return std::to_string(r.kind) + " \"" + r.path + "\" \"" + r.expected_code + "\" \"" + r.computed_code + "\"";
}

// A name as make_syschk_list may write one: no "#", line feed or NUL, and an
// extension of at most three characters, when its file name has one.
std::string writable_name(const std::string& text) {
    std::string name;
    for (char c : text)
        if (c != '#' && c != '\n' && c != '\0') name += c;
    const size_t dot = name.rfind('.'), slash = name.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || slash < dot) && name.size() - dot > 4)
        name.resize(dot + 4);
    return name;
}

void check_written_entries(const std::vector<std::string>& texts) {
    std::vector<system_file_entry> written;
    std::string list = "; written\n";
    for (size_t i = 0; i < texts.size() && written.size() < kEntriesWritten; ++i) {
        const uint32_t code = static_cast<uint32_t>(std::hash<std::string>{}(texts[i]));
        const system_file_entry entry{writable_name(texts[i]), format_file_code(code)};
        list += "@" + entry.name + "#" + entry.expected_code + "\n";
        written.push_back(entry);
    }
    FILE* file = ::fmemopen(list.data(), list.size(), "rb");
    KOVA_PROMISE(file, "reading the written list");
    std::vector<system_file_entry> read;
    for (std::string line; read_list_line(file, line);)
        if (std::optional<system_file_entry> entry = parse_system_file_line(line)) read.push_back(*entry);
    std::fclose(file);
    KOVA_PROMISE(read.size() == written.size(), std::to_string(read.size()) + " of " +
                                                    std::to_string(written.size()) + " entries read back");
    for (size_t i = 0; i < read.size(); ++i)
        KOVA_PROMISE(read[i].name == written[i].name && read[i].expected_code == written[i].expected_code,
                     "\"" + written[i].name + "\" read back as \"" + read[i].name + "\" \"" +
                         read[i].expected_code + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fixture& f = the_fixture();
    kova_fuzz::write_file(f.bin / kSystemFileListName, data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = lines_of(text);

    size_t lines_seen = 0;
    const system_check_result result = check_system_files(f.program, [&] { ++lines_seen; });
    const expectation e = expected_check(f, lines);
    const system_check_result& expected = e.result;
    KOVA_PROMISE(result.kind == expected.kind && result.path == expected.path &&
                     result.expected_code == expected.expected_code && result.computed_code == expected.computed_code,
                 "the check gave " + described(result) + ", the model " + described(expected));
    // The form repaints before every line it reads, up to the one that stopped the check.
    KOVA_PROMISE(lines_seen == e.lines_read,
                 std::to_string(lines_seen) + " lines announced, " + std::to_string(e.lines_read) + " read");
    KOVA_PROMISE((result.kind == system_check_result::passed) == system_check_box_text(result).empty(),
                 "box text of " + described(result));

    check_written_entries(lines);
    return 0;
}
