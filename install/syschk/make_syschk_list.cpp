// make_syschk_list: writes BIN_FOLDER/SysChk.lst, the list of every regular
// file under BIN_FOLDER (sub-folders included) with its byte sum, that
// KovaStudio checks at start-up.
//
//   make_syschk_list BIN_FOLDER
//
// The list is read back the way the start check reads it; a file whose name
// would not come back unchanged (a folder or name with "." that is not an
// extension of at most three characters, a "#", a line break, ...) fails the
// run and removes the list, since the installed program would never start.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "generated_file.h"
#include "regular_file.h"
#include "system_file_list.h"

namespace fs = std::filesystem;

namespace {

struct listed_file {
    std::string name;
    std::string code;
};

bool collect(const fs::path& bin, std::vector<listed_file>& files) {
    std::error_code error;
    fs::recursive_directory_iterator walk(bin, error), end;
    for (; !error && walk != end; walk.increment(error)) {
        if (!walk->is_regular_file(error)) continue;
        const std::string name = walk->path().lexically_relative(bin).generic_string();
        if (name == kSystemFileListName) continue;
        const std::optional<uint32_t> sum = file_byte_sum(walk->path().string());
        if (!sum) {
            std::fprintf(stderr, "make_syschk_list: cannot read %s\n", walk->path().c_str());
            return false;
        }
        files.push_back({name, format_file_code(*sum)});
    }
    if (error) {
        std::fprintf(stderr, "make_syschk_list: cannot list %s: %s\n", bin.c_str(), error.message().c_str());
        return false;
    }
    std::sort(files.begin(), files.end(), [](const listed_file& a, const listed_file& b) { return a.name < b.name; });
    return true;
}

std::string list_text(const std::vector<listed_file>& files) {
    std::string text = "; Installed files under bin and the sums of their bytes\n";
    for (const listed_file& file : files) text += "@" + file.name + "#" + file.code + "\n";
    return text;
}

// Every entry read back must name its file and code unchanged, one line each.
bool names_come_back(const std::string& path, const std::vector<listed_file>& files) {
    const owned_file list(open_regular_file(path));
    if (!list) {
        std::fprintf(stderr, "make_syschk_list: cannot read back %s\n", path.c_str());
        return false;
    }
    std::vector<system_file_entry> entries;
    std::string line;
    while (read_list_line(list.get(), line)) {
        if (std::optional<system_file_entry> entry = parse_system_file_line(line)) entries.push_back(*entry);
    }
    bool ok = true;
    for (size_t i = 0; i < files.size(); ++i) {
        const bool same =
            i < entries.size() && entries[i].name == files[i].name && entries[i].expected_code == files[i].code;
        if (!same) {
            std::fprintf(stderr, "make_syschk_list: the name \"%s\" would not be read back as written\n",
                         files[i].name.c_str());
            ok = false;
        }
    }
    if (entries.size() != files.size()) {
        std::fprintf(stderr, "make_syschk_list: %zu files listed, %zu entries read back\n", files.size(),
                     entries.size());
        ok = false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s BIN_FOLDER\n", argv[0]);
        return 1;
    }
    const fs::path bin = argv[1];
    std::error_code error;
    if (!fs::is_directory(bin, error)) {
        std::fprintf(stderr, "make_syschk_list: %s is not a folder\n", argv[1]);
        return 1;
    }
    std::vector<listed_file> files;
    if (!collect(bin, files)) return 1;
    const std::string list_path = (bin / kSystemFileListName).string();
    std::string write_error;
    if (!write_output_file(list_path, list_text(files), write_error)) {
        std::fprintf(stderr, "make_syschk_list: %s\n", write_error.c_str());
        return 1;
    }
    if (!names_come_back(list_path, files)) {
        // A list the start check would misread must not be installed.
        fs::remove(list_path, error);
        return 1;
    }
    return 0;
}
