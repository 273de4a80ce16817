#include "pdf_check.h"

#include <cstdlib>
#include <sstream>

std::string pdf_structure_problem(const std::string& pdf) {
    if (pdf.rfind("%PDF-1.", 0) != 0) return "no PDF header";
    const size_t eof = pdf.rfind("%%EOF");
    if (eof == std::string::npos || pdf.find_first_not_of("\r\n", eof + 5) != std::string::npos)
        return "no %%EOF at the end";
    const size_t start = pdf.rfind("startxref\n");
    if (start == std::string::npos) return "no startxref";
    const size_t xref = std::strtoul(pdf.c_str() + start + 10, nullptr, 10);
    if (pdf.compare(xref, 5, "xref\n") != 0) return "startxref does not point at the table";

    std::istringstream table(pdf.substr(xref + 5));
    size_t first = 0, count = 0;
    table >> first >> count;
    if (first != 0 || count < 2) return "table does not start at object 0";
    table.get();  // the line end after the subsection header
    const size_t entries = xref + 5 + static_cast<size_t>(table.tellg());
    for (size_t i = 0; i < count; ++i) {
        const std::string entry = pdf.substr(entries + 20 * i, 20);
        if (entry.size() != 20 || entry.substr(18) != "\r\n") return "entry " + std::to_string(i) + " is not 20 bytes";
        const size_t offset = std::strtoul(entry.c_str(), nullptr, 10);
        if (i == 0) {
            if (entry[17] != 'f') return "entry 0 is not free";
            continue;
        }
        if (entry[17] != 'n') return "entry " + std::to_string(i) + " is not in use";
        const std::string header = std::to_string(i) + " 0 obj";
        if (pdf.compare(offset, header.size(), header) != 0)
            return "entry " + std::to_string(i) + " points at the wrong place";
    }
    if (pdf.compare(entries + 20 * count, 7, "trailer") != 0) return "no trailer after the table";
    for (size_t at = pdf.find("/Length "); at != std::string::npos; at = pdf.find("/Length ", at + 1)) {
        const size_t length = std::strtoul(pdf.c_str() + at + 8, nullptr, 10);
        const size_t stream = pdf.find("stream\n", at);
        if (stream == std::string::npos || pdf.compare(stream + 7 + length, 9, "endstream") != 0)
            return "a stream's length is wrong";
    }
    if (pdf.find("/Size " + std::to_string(count), entries) == std::string::npos) return "trailer size is wrong";
    return "";
}

std::string pdf_page_text(const std::string& pdf) {
    std::string out;
    for (size_t at = pdf.find(" Td ("); at != std::string::npos; at = pdf.find(" Td (", at)) {
        at += 5;
        std::string line;
        for (; at < pdf.size() && pdf[at] != ')'; ++at) {
            if (pdf[at] == '\\') ++at;
            line += pdf[at];
        }
        out += line + "\n";
    }
    return out;
}
