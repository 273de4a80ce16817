#include "device_vocabulary.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "ini_file.h"
#include "regular_file.h"

namespace {

struct code_and_name {
    const char* code;
    const char* name;
};

// Device codes that have a chip model name, in the order they are tested. The 3K
// models carry a lower-case "k" inside DAT files.
constexpr chip_model_name kChipModels[] = {
    {.code = "Y1", .name = "KOVA3K10", .dat_spelling = "KOVA3k10"},
    {.code = "Y2", .name = "KOVA3K21", .dat_spelling = "KOVA3k21"},
    {.code = "Y3", .name = "KOVA3K42", .dat_spelling = "KOVA3k42"},
    {.code = "Z1", .name = "KOVA10", .dat_spelling = "KOVA10"},
    {.code = "Z2", .name = "KOVA21", .dat_spelling = "KOVA21"},
    {.code = "Z3", .name = "KOVA42", .dat_spelling = "KOVA42"},
    {.code = "Z4", .name = "KOVA85", .dat_spelling = "KOVA85"},
    {.code = "Z6", .name = "KOVA341", .dat_spelling = "KOVA341"},
};

// Trigger modes in the order of the Pack bits, which is also the list order.
constexpr code_and_name kTriggerModes[] = {
    {"1", "Key Single"},
    {"2", "Key Sequential"},
    {"3", "CPU Serial Pluse Count"},
    {"4", "CPU Serial Pluse Width"},
    {"8", "Address Trigger"},
    {"5", "CPU Serial Command"},
};

constexpr long kTextHeaderStart = 32;
constexpr size_t kTextHeaderLength = 512;

// Index of the first entry whose field equals the wanted text, the empty entries included; -1 when none.
int first_entry(const TDeviceTable& table, std::string TDeviceEntry::*field, const std::string& wanted) {
    for (int i = 0; i < kDeviceTableSize; ++i) {
        if (table[i].*field == wanted) return i;
    }
    return -1;
}

// The text header as far as it was read, up to its first zero byte.
std::string text_header(const std::string& dat_path) {
    const owned_file file(open_regular_file(dat_path));
    if (!file || std::fseek(file.get(), kTextHeaderStart, SEEK_SET) != 0) return {};
    char bytes[kTextHeaderLength];
    const size_t count = std::fread(bytes, 1, sizeof bytes, file.get());
    std::string text(bytes, count);
    return text.substr(0, text.find('\0'));
}

}  // namespace

TDeviceTable build_device_table(const ini_file& setup) {
    TDeviceTable table;
    int filled = 0;
    for (const char series : {'Y', 'Z'}) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            const std::string section{series, digit};
            std::string symbol = setup.read_string(section, "Symbol", "");
            if (symbol.empty()) continue;
            table[filled++] = {std::move(symbol), section, setup.read_integer(section, "Size", 0)};
        }
    }
    return table;
}

std::string device_symbol(const TDeviceTable& table, const std::string& code) {
    const int i = first_entry(table, &TDeviceEntry::Code, code);
    return i < 0 ? "" : table[i].Symbol;
}

int32_t device_size(const TDeviceTable& table, const std::string& code) {
    const int i = first_entry(table, &TDeviceEntry::Code, code);
    return i < 0 ? -1 : table[i].Size;
}

std::string device_code(const TDeviceTable& table, const std::string& symbol) {
    const int i = first_entry(table, &TDeviceEntry::Symbol, symbol);
    return i < 0 ? "" : table[i].Code;
}

int device_index(const TDeviceTable& table, const std::string& symbol) {
    return first_entry(table, &TDeviceEntry::Symbol, symbol);
}

std::string device_name_to_code(const std::string& model) {
    // The 3K names match whole; the other series match on the name's beginning.
    for (const chip_model_name& chip : kChipModels) {
        const std::string name = chip.name;
        const bool whole = chip.code[0] == 'Y';
        if (whole ? model == name : model.starts_with(name)) return chip.code;
    }
    return "";
}

const chip_model_name* find_chip_model_name(const std::string& code) {
    for (const chip_model_name& chip : kChipModels) {
        if (code == chip.code) return &chip;
    }
    return nullptr;
}

std::string device_code_to_name(const std::string& code) {
    const chip_model_name* chip = find_chip_model_name(code);
    return chip ? chip->name : "";
}

std::string dat_device_name(const std::string& dat_path) {
    const std::string text = text_header(dat_path);
    // Only the first "KOVA" counts, even when a model name follows later.
    const size_t start = text.find("KOVA");
    if (start == std::string::npos) return "";
    const std::string_view candidate = std::string_view(text).substr(start);
    for (const chip_model_name& chip : kChipModels) {
        if (candidate.starts_with(chip.dat_spelling)) return chip.name;
    }
    return "";
}

std::string trigger_mode_code(const std::string& mode_name) {
    for (const code_and_name& mode : kTriggerModes) {
        if (mode_name == mode.name) return mode.code;
    }
    return "";
}

std::string trigger_mode_name(const std::string& mode_code) {
    for (const code_and_name& mode : kTriggerModes) {
        if (mode_code == mode.code) return mode.name;
    }
    return "";
}

std::vector<std::string> output_type_items(int32_t vout, int32_t cout) {
    std::vector<std::string> items;
    // No chip has more levels than two digits name; a larger count in setup.ini would fill the list for ever.
    for (int32_t level = 1; level <= std::min(vout, kMostOutputLevels); ++level) {
        items.push_back("VOUT[PWM] - Level " + std::to_string(level));
    }
    if (cout != 0) items.push_back("COUT[DAC]");
    return items;
}

std::vector<std::string> trigger_mode_items(int32_t pack) {
    std::vector<std::string> items;
    for (size_t bit = 0; bit < std::size(kTriggerModes); ++bit) {
        if (pack & (1 << bit)) items.push_back(kTriggerModes[bit].name);
    }
    return items;
}

std::string mode_key(const std::string& device_code, const std::string& mode_code) {
    return (device_code + "x" + mode_code).substr(1, 3);
}

const std::array<std::string, 2>& compression_formats() {
    static const std::array<std::string, 2> formats = {"4-bit ADPCM", "5-bit u-Law"};
    return formats;
}

std::string format_digit(int compression_index) {
    switch (compression_index) {
        case 0: return "2";
        case 1: return "7";
        default: return "";
    }
}

std::string support_text(const TDeviceTable& table) {
    std::string text;
    for (const TDeviceEntry& entry : table) {
        if (!entry.Symbol.empty()) text += entry.Symbol + "/ ";
    }
    // The last "/ " goes.
    return text.size() <= 2 ? "" : text.substr(0, text.size() - 2);
}
