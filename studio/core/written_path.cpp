#include "written_path.h"

#include <system_error>

namespace fs = std::filesystem;

std::optional<fs::path> written_path(const std::string& path) {
    std::error_code error;
    fs::path current = fs::absolute(path, error);
    if (!error) current = fs::weakly_canonical(current, error);
    for (int hops = 0; !error; ++hops) {
        const fs::file_status status = fs::symlink_status(current, error);
        if (status.type() == fs::file_type::not_found) return current;  // to be created
        if (error) return std::nullopt;
        if (!fs::is_symlink(status)) return current;
        if (hops == 40) return std::nullopt;
        const fs::path target = fs::read_symlink(current, error);
        if (error) return std::nullopt;
        current = fs::weakly_canonical(target.is_absolute() ? target : current.parent_path() / target, error);
    }
    return std::nullopt;
}
