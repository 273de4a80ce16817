#include "pdf_page.h"

#include <cstdio>

namespace {

constexpr int kPageWidth = 595;  // A4 in points
constexpr int kPageHeight = 842;
constexpr int kMargin = 56;

std::string content_stream(const std::vector<pdf_line>& lines) {
    std::string out;
    int y = kPageHeight - kMargin;
    for (const pdf_line& line : lines) {
        y -= line.points + line.points / 3;
        out += "BT /F1 " + std::to_string(line.points) + " Tf " + std::to_string(kMargin) + " " + std::to_string(y) +
               " Td " + pdf_string(line.text) + " Tj ET\n";
    }
    return out;
}

std::string xref_entry(size_t offset, const char* kind, int generation) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu %05d %s\r\n", offset, generation, kind);
    return entry;  // exactly 20 bytes, as the table requires
}

}  // namespace

std::string pdf_string(const std::string& text) {
    std::string out = "(";
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c >= 0x20 && c < 0x7F) {
            out += c;
        } else {
            out += '?';
        }
    }
    return out + ")";
}

std::string pdf_single_page(const std::string& title, const std::vector<pdf_line>& lines) {
    const std::string stream = content_stream(lines);
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(kPageWidth) + " " +
            std::to_string(kPageHeight) + "] /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Length " + std::to_string(stream.size()) + " >>\nstream\n" + stream + "endstream",
        "<< /Title " + pdf_string(title) + " /Producer (kova install data) >>",
    };
    // The second line's bytes above 127 mark the file as binary for tools that guess.
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n";
    out += xref_entry(0, "f", 65535);
    for (size_t offset : offsets) out += xref_entry(offset, "n", 0);
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R /Info 6 0 R >>\n";
    out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}
