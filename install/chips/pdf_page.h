// A one-page PDF document of plain text lines, written without a library:
// the catalogue, one page with a standard font, its content stream, the
// document information and a cross-reference table with exact offsets.
#pragma once

#include <string>
#include <vector>

struct pdf_line {
    std::string text;  // printable ASCII; other characters show as "?"
    int points = 11;   // font size
};

// The whole file. Lines run down the page from its top-left margin, each
// below the one before by its own size and a little.
std::string pdf_single_page(const std::string& title, const std::vector<pdf_line>& lines);

// A PDF string literal: the text in parentheses, with "(", ")" and "\"
// escaped and anything but printable ASCII replaced by "?".
std::string pdf_string(const std::string& text);
