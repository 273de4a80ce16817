// The list of installed files and their byte sums, bin/SysChk.lst, that the
// start form checks before the main form opens. Entry lines read
// "@name#XXXXXXXX" (name relative to bin, the byte sum in eight upper-case
// hexadecimal digits, anything after them ignored); lines starting with ";"
// are comments, empty and blank lines are skipped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

inline constexpr const char* kSystemFileListName = "SysChk.lst";

struct system_file_entry {
    std::string name;           // relative to bin, "/" between folders
    std::string expected_code;  // the eight characters after "#" (fewer when the line ends sooner)
};

// The entry a line names; nothing for a comment, an empty or a blank line.
// The name runs from after the first "@" to before the first "#", and is cut
// three characters after the last "." of its file name (dropping blanks
// before "#"); a file name without "." is kept whole. A line without "#"
// gives an empty name.
std::optional<system_file_entry> parse_system_file_line(const std::string& line);

// The next line of a list: a line feed ends it and is dropped, as is one
// carriage return before it; a last line without a line feed counts. False at
// the end of the file (or on a read error) with nothing read.
bool read_list_line(FILE* file, std::string& line);

// The sum of all bytes (0..255 each), wrapping at 32 bits; nothing when the
// path is not a regular file or it cannot be read.
std::optional<uint32_t> file_byte_sum(const std::string& path);
std::string format_file_code(uint32_t sum);  // eight upper-case hexadecimal digits

struct system_check_result {
    enum kind_t { passed, list_missing, file_missing, code_mismatch } kind = passed;
    std::string path;  // list_missing: the list; else program folder + "bin/" + name
    std::string expected_code, computed_code;
};

// Reads program_folder + "bin/SysChk.lst" line by line, calling
// before_each_line() before each line (the start form repaints there), and
// stops at the first missing or mismatching file. Codes compare with case. A
// name that leads out of bin ("../setup.ini") or holds a NUL counts as a
// missing file: it is never opened.
system_check_result check_system_files(const std::string& program_folder,
                                       const std::function<void()>& before_each_line);

// The text of the box shown for a failed file when PrtSysFail is set; "" for
// a result that shows none (passed, or the list itself missing).
std::string system_check_box_text(const system_check_result& result);
