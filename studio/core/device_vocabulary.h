// The three names of a chip and the lists built from them: the device table
// read from setup.ini (display name, device code, ROM size), the fixed maps
// between device codes and chip model names, the chip model name inside a DAT
// file, the trigger modes with their codes and the compression formats.
// Every function is a pure query: "not found" is an empty text or -1.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ini_file;

struct TDeviceEntry {
    std::string Symbol;  // display name shown in the device lists
    std::string Code;    // the setup.ini section it came from: "Y0".."Y9", "Z0".."Z9"
    int32_t Size = 0;    // ROM size in bytes
};

inline constexpr int kDeviceTableSize = 20;
using TDeviceTable = std::array<TDeviceEntry, kDeviceTableSize>;

// Sections [Y0]..[Y9], then [Z0]..[Z9]; each one with a non-empty Symbol takes
// the next entry, so the devices fill entries 0..n-1 and the rest stay empty.
TDeviceTable build_device_table(const ini_file& setup);

// Lookups visit all 20 entries, the empty ones too, and compare whole texts
// with case. An empty argument therefore finds the first unused entry while
// fewer than 20 devices are defined.
std::string device_symbol(const TDeviceTable& table, const std::string& code);  // "" when none
int32_t device_size(const TDeviceTable& table, const std::string& code);        // -1 when none
std::string device_code(const TDeviceTable& table, const std::string& symbol);  // "" when none
int device_index(const TDeviceTable& table, const std::string& symbol);         // -1 when none

// A device code that has a chip model name, and the model's two spellings.
struct chip_model_name {
    const char* code;          // "Y1" .. "Z6"
    const char* name;          // as the writer programs take it: "KOVA3K10"
    const char* dat_spelling;  // as a DAT file's text header spells it: "KOVA3k10"
};

// The row of a device code (whole, with case); nullptr for a code without a chip model name.
const chip_model_name* find_chip_model_name(const std::string& code);

// Chip model name (as the writer programs take it) to device code and back; "" when there is none.
std::string device_name_to_code(const std::string& model);
std::string device_code_to_name(const std::string& code);

// The chip model name named in a DAT file's text header (file bytes 32..543, up
// to the first zero byte), in its canonical spelling; "" when the file is not a
// regular file, cannot be read or names no known model at its first "KOVA".
std::string dat_device_name(const std::string& dat_path);

// "Key Single" .. "Address Trigger" to "1".."5", "8"; "" for any other text.
std::string trigger_mode_code(const std::string& mode_name);
// The trigger-mode name of a code ("2" gives "Key Sequential"); "" for any other text.
std::string trigger_mode_name(const std::string& mode_code);

// The output-type list of a device: "VOUT[PWM] - Level 1" .. "VOUT[PWM] - Level <vout>",
// then "COUT[DAC]" when cout is not 0. A vout above kMostOutputLevels counts as that many, below 0 as none.
inline constexpr int32_t kMostOutputLevels = 99;
std::vector<std::string> output_type_items(int32_t vout, int32_t cout);
// The trigger modes whose bits are set in pack, in list order (bits 0..5; higher bits ignored).
std::vector<std::string> trigger_mode_items(int32_t pack);

// The mode key naming a chip's folder under bin: characters 2..4 of code + "x" +
// mode ("Y1", "2" gives "1x2"); shorter when the parts are.
std::string mode_key(const std::string& device_code, const std::string& mode_code);

// Compression format items and their digits: 0 "4-bit ADPCM" -> "2", 1 "5-bit u-Law" -> "7".
const std::array<std::string, 2>& compression_formats();
std::string format_digit(int compression_index);  // "" for any other index

// "A/ B/ C": the defined devices' display names, as the About page shows them.
std::string support_text(const TDeviceTable& table);
