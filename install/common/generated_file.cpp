#include "generated_file.h"

#include <cstdio>

bool write_output_file(const std::filesystem::path& path, std::string_view content, std::string& error) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        error = "cannot create " + path.string();
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    if (std::fclose(out) != 0 || !written) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool write_output_file(const std::filesystem::path& path, const std::vector<uint8_t>& content, std::string& error) {
    return write_output_file(
        path, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()), error);
}
