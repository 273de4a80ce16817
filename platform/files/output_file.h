// Writing files with every write and the close checked, so that a full disk or
// a folder in the file's place fails the step instead of leaving a short file
// behind a success. A pipe or a socket in the file's place is refused at once
// instead of waiting for a reader; a device is written like a file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "regular_file.h"

// Creates or truncates the file for writing; nullptr on failure.
owned_file create_output_file(const std::string& path);

// Writes all of the text; false when any byte could not be written.
bool put_text(FILE* file, std::string_view text);

// Writes what is still buffered; false when that fails.
bool flush_output(FILE* file);

// Closes the file (nothing when it is already closed); false when buffered
// bytes could not be written or the close failed.
bool close_output_file(owned_file& file);

// How a whole file is written.
enum class whole_file {
    in_place,   // the file is created or truncated and written
    by_rename,  // written under a temporary name beside the file, which is renamed to it once complete and closed:
                // a failed write leaves the file as it was and no temporary behind
};

// How writing a whole file went: `failure` names the file that failed and
// why ("PATH: reason"), the temporary's path when that is where it failed.
struct whole_file_write {
    enum { written, not_created, not_written } outcome = written;
    std::string failure;
    explicit operator bool() const { return outcome == written; }
};

// Writes `content` as the whole file at `path`.
whole_file_write write_whole_file(const std::string& path, std::string_view content,
                                  whole_file how = whole_file::in_place);
inline whole_file_write write_whole_file(const std::string& path, const std::vector<uint8_t>& content,
                                         whole_file how = whole_file::in_place) {
    return write_whole_file(path, {reinterpret_cast<const char*>(content.data()), content.size()}, how);
}

// Creates a new empty file for writing named `prefix` and eight random letters
// or digits (nothing a command line would have to quote), with the permission
// bits of a new file, which the user's file-creation mask trims; `path` is set
// to its name. An empty descriptor when no such file can be made, with errno
// and `path` telling why and where.
owned_descriptor create_temporary(const std::string& prefix, std::string& path);

// Claims a name of the same kind by `claim`, which makes something under the
// name given and answers false with errno set when it cannot; a name already
// taken (EEXIST) is passed over for another. True with `path` set to the name
// claimed; false with errno and `path` telling why and where.
bool claim_temporary_name(const std::string& prefix, std::string& path,
                          const std::function<bool(const std::string& name)>& claim);

// `prefix` and eight random letters or digits, as create_temporary names its
// files; nothing is made, so the name may be taken.
std::string temporary_name(const std::string& prefix);
