#include "system_file_list.h"

#include <algorithm>
#include <string_view>

#include "regular_file.h"

namespace {

bool is_blank(const std::string& line) { return line.find_first_not_of(" \t\r\v\f") == std::string::npos; }

// The name cut three characters after the last "." of its last component, so
// that blanks after an extension go; names without an extension stay whole.
std::string cut_after_extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    const size_t slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return name;
    return name.substr(0, dot + 4);
}

// True when no file of bin can have the name: it holds a NUL, or a ".." climbs
// above bin. Such a name comes only from a damaged or altered list, and the
// start check must not read files elsewhere on its say.
bool names_no_file_in_bin(const std::string& name) {
    if (name.find('\0') != std::string::npos) return true;
    int depth = 0;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part(name.data() + start, end - start);
        if (part == "..") {
            if (--depth < 0) return true;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

std::optional<system_file_entry> parse_system_file_line(const std::string& line) {
    if (is_blank(line) || line[0] == ';') return std::nullopt;
    const size_t at = line.find('@');
    const size_t hash = line.find('#');
    system_file_entry entry;
    // The name starts after the first "@" (at the line's start without one) and
    // ends before the first "#" (empty without one).
    const size_t start = at == std::string::npos ? 0 : at + 1;
    if (hash != std::string::npos && hash > start) entry.name = cut_after_extension(line.substr(start, hash - start));
    if (hash != std::string::npos) entry.expected_code = line.substr(hash + 1, 8);
    return entry;
}

bool read_list_line(FILE* file, std::string& line) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(file)) line.push_back(static_cast<char>(c));
    if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::optional<uint32_t> file_byte_sum(const std::string& path) {
    const owned_file file(open_regular_file(path));
    if (!file) return std::nullopt;
    uint32_t sum = 0;
    unsigned char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        for (size_t i = 0; i < count; ++i) sum += buffer[i];
    }
    if (std::ferror(file.get())) return std::nullopt;
    return sum;
}

std::string format_file_code(uint32_t sum) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(sum));
    return text;
}

system_check_result check_system_files(const std::string& program_folder,
                                       const std::function<void()>& before_each_line) {
    const std::string bin = program_folder + "bin/";
    const owned_file list(open_regular_file(bin + kSystemFileListName));
    if (!list) return {system_check_result::list_missing, bin + kSystemFileListName, "", ""};
    std::string line;
    for (;;) {
        const int next = std::getc(list.get());
        if (next == EOF) {
            if (std::ferror(list.get())) return {system_check_result::list_missing, bin + kSystemFileListName, "", ""};
            return {system_check_result::passed, "", "", ""};
        }
        std::ungetc(next, list.get());
        if (before_each_line) before_each_line();
        read_list_line(list.get(), line);
        const std::optional<system_file_entry> entry = parse_system_file_line(line);
        if (!entry) continue;
        const std::string path = bin + entry->name;
        if (names_no_file_in_bin(entry->name)) {
            return {system_check_result::file_missing, path, entry->expected_code, ""};
        }
        const std::optional<uint32_t> sum = file_byte_sum(path);
        if (!sum) return {system_check_result::file_missing, path, entry->expected_code, ""};
        const std::string code = format_file_code(*sum);
        if (code != entry->expected_code) return {system_check_result::code_mismatch, path, entry->expected_code, code};
    }
}

std::string system_check_box_text(const system_check_result& result) {
    switch (result.kind) {
        case system_check_result::file_missing: return "System files missed: " + result.path;
        case system_check_result::code_mismatch:
            return result.path + "\nRead Code: " + result.expected_code + "\nGet Code:   " + result.computed_code;
        default: return "";
    }
}
