// Checks a PDF file's cross-reference table the way a reader follows it:
// startxref points at the table, every entry in use at its object.
#pragma once

#include <string>

// Empty when the structure holds, else what is wrong.
std::string pdf_structure_problem(const std::string& pdf);

// The text shown by the page's text operators, one string per Tj, joined by
// line breaks, with the string escapes undone.
std::string pdf_page_text(const std::string& pdf);
