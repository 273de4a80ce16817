#include "generated_file.h"

#include "output_file.h"

bool write_output_file(const std::filesystem::path& path, std::string_view content, std::string& error) {
    const whole_file_write written = write_whole_file(path.string(), content);
    if (!written) {
        error = (written.outcome == whole_file_write::not_created ? "cannot create " : "cannot write ") + path.string();
        return false;
    }
    return true;
}

bool write_output_file(const std::filesystem::path& path, const std::vector<uint8_t>& content, std::string& error) {
    return write_output_file(path, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()),
                             error);
}
