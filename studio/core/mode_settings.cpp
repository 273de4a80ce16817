#include "mode_settings.h"

#include <algorithm>
#include <cstdio>

#include "ini_file.h"

namespace {

constexpr int32_t kMostGroups = 9999;

}  // namespace

std::string io_cell_key(int column) {
    char key[16];
    std::snprintf(key, sizeof key, "Cell%02d", column);
    return key;
}

std::string mode_settings_path(const std::string& program_folder, const std::string& mode_key) {
    return program_folder + "bin/" + mode_key + "/" + mode_key + ".ini";
}

mode_settings read_mode_settings(const ini_file& file) {
    mode_settings settings;
    settings.fixed = file.read_integer("Global", "Fixed", 1);
    settings.max_sec = file.read_integer("Global", "MaxSec", 1);
    for (int row = 0; row < 2; ++row) {
        const std::string section = "Line" + std::to_string(row);
        for (int column = 0; column < kIoSettingColumns; ++column)
            settings.cells[row][column] = file.read_string(section, io_cell_key(column), "");
    }
    return settings;
}

int32_t group_count(int32_t max_sec) { return std::clamp<int32_t>(max_sec, 1, kMostGroups); }

int32_t io_fixed_rows(int32_t fixed) { return std::clamp<int32_t>(fixed, 0, 1); }
