#include "temp_program_folder.h"

#include "test_files.h"

#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool is_program(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IXUSR) != 0;
}

void assemble(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory()) {
            assemble(entry.path(), target);
        } else if (is_program(entry.path())) {
            fs::create_symlink(entry.path(), target);
        } else {
            fs::copy_file(entry.path(), target);
        }
    }
}

}  // namespace

std::string build_program_folder() { return std::string(KOVA_DIR) + "/"; }

temp_program_folder::temp_program_folder() : path_(test_folder() + "/kova/") {
    const fs::path source = KOVA_DIR;
    fs::create_directories(path_ + "temp");
    for (const char* name : {"setup.ini"}) {
        if (fs::exists(source / name)) fs::copy_file(source / name, path_ + name);
    }
    for (const char* folder : {"bin", "Language", "Samples"}) {
        if (fs::exists(source / folder)) assemble(source / folder, path_ + folder);
    }
}

std::string temp_program_folder::setup_ini() const { return read_text(path_ + "setup.ini"); }

void temp_program_folder::write_setup_ini(const std::string& text) const { write_text(path_ + "setup.ini", text); }

void temp_program_folder::set_setup_value(const std::string& section, const std::string& key,
                                          const std::string& value) const {
    std::istringstream in(setup_ini());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    const std::string head = "[" + section + "]";
    size_t at = 0;
    while (at < lines.size() && lines[at] != head) ++at;
    if (at == lines.size()) {
        lines.push_back(head);
        lines.push_back(key + "=" + value);
    } else {
        size_t line = at + 1;
        bool replaced = false;
        for (; line < lines.size() && (lines[line].empty() || lines[line][0] != '['); ++line) {
            if (lines[line].rfind(key + "=", 0) == 0) {
                lines[line] = key + "=" + value;
                replaced = true;
                break;
            }
        }
        if (!replaced) lines.insert(lines.begin() + static_cast<long>(at) + 1, key + "=" + value);
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    write_setup_ini(text);
}
