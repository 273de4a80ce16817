#include "ini_text.h"

#include <stdexcept>

#include "ini_file.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::string ini_line(const std::string& key, const std::string& value) {
    if (value.find('\n') != std::string::npos)
        throw std::invalid_argument("value of " + key + " holds a line break");
    if (value.size() > kIniValueLimit) throw std::invalid_argument("value of " + key + " is too long");
    // The reader trims blanks around a value and takes one pair of enclosing
    // double quotes away; quoting keeps such a value whole.
    const bool quote = !value.empty() && (is_blank(value.front()) || is_blank(value.back()) ||
                                          (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    return key + "=" + (quote ? "\"" + value + "\"" : value) + "\n";
}

std::string ini_section(const std::string& name) { return "[" + name + "]\n"; }
