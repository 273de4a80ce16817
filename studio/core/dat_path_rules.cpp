#include "dat_path_rules.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "pipeline_files.h"
#include "written_path.h"

namespace fs = std::filesystem;

namespace {

bool has_unsafe_character(const std::string& path) {
    for (const char c : path) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

// True when `path` is `folder` or lies inside it.
bool within(const fs::path& path, const fs::path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty()) continue;  // the empty last element of a folder written with a trailing slash
        if (p == path.end() || *p != *f) return false;
    }
    return true;
}

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

bool links_into_folder(const fs::path& file, const fs::path& folder) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        if (same_file(file, it->path())) return true;
    }
    return false;
}

}  // namespace

bool dat_path_refused(const std::string& program_folder, const std::string& dat_path) {
    if (dat_path.empty() || has_unsafe_character(dat_path)) return true;
    const std::optional<fs::path> resolved_dat = written_path(dat_path);
    const std::optional<fs::path> resolved_folder = written_path(program_folder);
    if (!resolved_dat || !resolved_folder) return true;
    const fs::path& dat = *resolved_dat;
    const fs::path bin = *resolved_folder / "bin";
    if (within(dat, bin)) return true;
    std::error_code error;
    const bool dat_exists = fs::exists(dat, error);
    if (dat_exists && links_into_folder(dat, bin)) return true;
    for (const char* own : {kScriptFile, kTableFile, kVoiceDataFile, kLinkScriptFile, kBuilderLogFile,
                            kShadowImageFile, kChecksumReportFile}) {
        const fs::path own_path = *resolved_folder / own;
        if (dat == own_path || (dat_exists && same_file(dat, own_path))) return true;
    }
    return false;
}
