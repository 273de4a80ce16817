#include "output_file.h"

#include "open_without_waiting.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace {

bool is_pipe_or_socket(mode_t kind) { return S_ISFIFO(kind) || S_ISSOCK(kind); }

std::string system_error(const std::string& path) { return path + ": " + std::strerror(errno); }

// The descriptor as a stdio file; nullptr with `failure` set when that fails.
owned_file stdio_output(owned_descriptor fd, const std::string& path, std::string& failure) {
    owned_file file(::fdopen(fd.get(), "wb"));
    if (!file) {
        failure = system_error(path);
        return nullptr;
    }
    fd.release();
    return file;
}

// Created or truncated for writing; nullptr with `failure` saying why. A device is written like a file.
owned_file open_output(const std::string& path, std::string& failure) {
    owned_descriptor fd = open_without_waiting(
        path, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0666, [](mode_t kind) { return !is_pipe_or_socket(kind); },
        "a pipe or socket, not a file", failure);
    if (!fd) return nullptr;
    return stdio_output(std::move(fd), path, failure);
}

// Writes the content and closes the file; false with `failure` naming `path` when either fails.
bool write_and_close(owned_file& file, std::string_view content, const std::string& path, std::string& failure) {
    bool written = put_text(file.get(), content);
    if (!written) failure = system_error(path);
    if (!close_output_file(file) && written) {
        written = false;
        failure = system_error(path);
    }
    return written;
}

whole_file_write write_in_place(const std::string& path, std::string_view content) {
    whole_file_write result;
    owned_file file = open_output(path, result.failure);
    if (!file) result.outcome = whole_file_write::not_created;
    else if (!write_and_close(file, content, path, result.failure)) result.outcome = whole_file_write::not_written;
    return result;
}

whole_file_write write_by_rename(const std::string& path, std::string_view content) {
    // In the file's own folder, so that the rename stays within one file system.
    const size_t slash = path.rfind('/');
    const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    whole_file_write result;
    std::string temporary;
    owned_descriptor fd = create_temporary(path.substr(0, name_start) + "." + path.substr(name_start) + ".",
                                           temporary);
    if (!fd) return {whole_file_write::not_created, system_error(temporary)};
    owned_file file = stdio_output(std::move(fd), temporary, result.failure);
    if (!file || !write_and_close(file, content, temporary, result.failure)) {
        result.outcome = whole_file_write::not_written;
    } else if (::rename(temporary.c_str(), path.c_str()) != 0) {
        result = {whole_file_write::not_written, system_error(path)};
    }
    if (!result) ::unlink(temporary.c_str());
    return result;
}

}  // namespace

owned_file create_output_file(const std::string& path) {
    std::string failure;
    return open_output(path, failure);
}

bool put_text(FILE* file, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && !std::ferror(file);
}

bool flush_output(FILE* file) { return std::fflush(file) == 0; }

bool close_output_file(owned_file& file) {
    FILE* const open_file = file.release();
    return open_file == nullptr || std::fclose(open_file) == 0;
}

whole_file_write write_whole_file(const std::string& path, std::string_view content, whole_file how) {
    return how == whole_file::by_rename ? write_by_rename(path, content) : write_in_place(path, content);
}

owned_descriptor create_temporary(const std::string& prefix, std::string& path) {
    owned_descriptor fd;
    claim_temporary_name(prefix, path, [&fd](const std::string& name) {
        fd = owned_descriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        return bool(fd);
    });
    return fd;
}

bool claim_temporary_name(const std::string& prefix, std::string& path,
                          const std::function<bool(const std::string& name)>& claim) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = temporary_name(prefix);
        if (claim(path)) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

std::string temporary_name(const std::string& prefix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string name = prefix;
    for (int i = 0; i < 8; ++i) name += kLetters[pick(source)];
    return name;
}
