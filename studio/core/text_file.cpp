#include "text_file.h"

#include "regular_file.h"

std::optional<std::string> read_regular_text(const std::string& path) {
    const owned_file file(open_regular_file(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string text;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) text.append(chunk, got);
    if (std::ferror(file.get())) return std::nullopt;
    return text;
}
