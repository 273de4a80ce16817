#include "ini_file.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "regular_file.h"

namespace {

bool same_name(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> ini_file::find(const std::string& section, const std::string& key) const {
    if (path_.empty()) return std::nullopt;
    const std::optional<std::string> content = read_regular_file(path_);
    if (!content) return std::nullopt;
    std::istringstream file(*content);
    bool in_section = false;
    bool first_line = true;
    for (std::string line; std::getline(file, line);) {
        if (first_line && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        first_line = false;
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == ';') continue;
        if (text[0] == '[') {
            const size_t close = text.find(']');
            in_section = close != std::string::npos && same_name(trimmed(text.substr(1, close - 1)), section);
            continue;
        }
        if (!in_section) continue;
        const size_t equals = text.find('=');
        if (equals == std::string::npos || !same_name(trimmed(text.substr(0, equals)), key)) continue;
        std::string value = trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
        return value;
    }
    return std::nullopt;
}

std::string ini_file::read_string(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
    return find(section, key).value_or(fallback);
}

std::optional<int32_t> parse_ini_integer(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    size_t start = 0;
    if (!hex && (digits[0] == '-' || digits[0] == '+')) start = 1;
    if (start >= digits.size()) return std::nullopt;
    for (size_t i = start; i < digits.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(digits[i]);
        if (hex ? !std::isxdigit(c) : !std::isdigit(c)) return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(digits.c_str(), &end, hex ? 16 : 10);
    if (errno == ERANGE) return std::nullopt;
    // Hexadecimal values fill all 32 bits ("0xFFFFFFFF" is -1); decimal ones keep their sign.
    if (hex) {
        if (value > 0xFFFFFFFFLL) return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t ini_file::read_integer(const std::string& section, const std::string& key, int32_t fallback) const {
    const std::optional<std::string> value = find(section, key);
    if (!value) return fallback;
    return parse_ini_integer(*value).value_or(fallback);
}

bool ini_file::read_bool(const std::string& section, const std::string& key, bool fallback) const {
    return read_integer(section, key, fallback ? 1 : 0) != 0;
}
