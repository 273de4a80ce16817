// The per-chip, per-trigger-mode settings file bin/<key>/<key>.ini: where it
// lies, and what the compiler page takes from it (the I/O settings table and
// the number of voice groups). Its [Global] Offset is read by each user with
// its own default, so it is not part of this record.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class ini_file;

inline constexpr int kIoSettingColumns = 11;

struct mode_settings {
    int32_t fixed = 1;    // [Global] Fixed: header rows of the I/O settings table
    int32_t max_sec = 1;  // [Global] MaxSec: voice groups the mode offers, as written
    // [Line0] and [Line1] Cell00..Cell10, left to right; empty when missing.
    std::array<std::array<std::string, kIoSettingColumns>, 2> cells;
};

// The key of an I/O settings column in [Line0] and [Line1]: "Cell00" .. "Cell10".
std::string io_cell_key(int column);

// program folder (ending in "/") + "bin/" + key + "/" + key + ".ini".
std::string mode_settings_path(const std::string& program_folder, const std::string& mode_key);

// A missing file, section or key gives the defaults.
mode_settings read_mode_settings(const ini_file& file);

// The number of voice groups the list gets: MaxSec held within 1 to 9999, so
// that there is always a group and every group number fits a label and an
// encoder script line.
int32_t group_count(int32_t max_sec);

// The header rows of the two-row I/O settings table: Fixed held within 0 to 1
// (a table of two rows cannot have more).
int32_t io_fixed_rows(int32_t fixed);
