#include "output_file.h"

#include <sys/stat.h>

namespace {

bool is_pipe_or_socket(const struct stat& info) { return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode); }

}  // namespace

owned_file create_output_file(const std::string& path) {
    // The kind is checked before opening, so that a pipe without a reader is refused instead of waited on.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && is_pipe_or_socket(info)) return nullptr;
    owned_file file(std::fopen(path.c_str(), "wbe"));
    if (file && (::fstat(fileno(file.get()), &info) != 0 || is_pipe_or_socket(info))) return nullptr;
    return file;
}

bool put_text(FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && !std::ferror(file);
}

bool flush_output(FILE* file) { return std::fflush(file) == 0; }

bool close_output_file(owned_file& file) {
    FILE* const open_file = file.release();
    return open_file == nullptr || std::fclose(open_file) == 0;
}
