#include "command_line.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> split_command_line(const std::string& command_line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = command_line.size();
    while (true) {
        while (i < n && is_blank(command_line[i])) ++i;
        if (i >= n) break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !is_blank(command_line[i]))) {
            const char c = command_line[i];
            if (c == '\\') {
                size_t backslashes = 0;
                while (i < n && command_line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && command_line[i] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                    // An even run leaves the quote to group, on the next pass.
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (c == '"') {
                if (quoted && i + 1 < n && command_line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += c;
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string quote_command_argument(const std::string& text) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote are doubled, so that it still closes.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string short_path(const std::string& path) { return path; }

std::string quote_short_path(const std::string& folder, const std::string& relative) {
    return quote_command_argument(short_path(folder) + relative) + " ";
}
