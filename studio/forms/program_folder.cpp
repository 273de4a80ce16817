#include "program_folder.h"

#include "ini_file.h"

#include <filesystem>

namespace {

std::string& folder() {
    static std::string value;
    return value;
}

}  // namespace

std::string ProgramFolder() {
    if (folder().empty()) folder() = ExecutableFolder();
    return folder();
}

void SetProgramFolder(std::string value) {
    if (!value.empty() && value.back() != '/') value += '/';
    folder() = std::move(value);
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    std::string result = executable.parent_path().string();
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

std::string SetupIniPath() { return ProgramFolder() + "setup.ini"; }

std::string LanguageIniPath(const ini_file& setup) {
    return ProgramFolder() + "Language/" + setup.read_string("System", "Language", "");
}
