// Child command lines as one text, the way the programs of this tool set
// exchange them: arguments are separated by runs of blanks or tabs, double
// quotes group, and backslashes count only before a double quote (2n
// backslashes and a quote give n backslashes and a grouping quote, 2n+1 give
// n backslashes and a literal quote). Inside quotes, two double quotes in a
// row give one literal quote. Blanks at the end give no empty argument.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> split_command_line(const std::string& command_line);

// The text between double quotes, escaped so that split_command_line gives it
// back unchanged. A text without double quotes and without backslashes before
// the end comes back as a double quote, the text and a double quote.
std::string quote_command_argument(const std::string& text);

// The short form of a path. Paths have no short form on this system: the path
// itself.
std::string short_path(const std::string& path);

// One path argument of a child command line: the quoted short form of `folder`
// followed by `relative`, then one blank, so that arguments join without
// further separators.
std::string quote_short_path(const std::string& folder, const std::string& relative);
