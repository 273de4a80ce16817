// The fixed chip tables of one chip series: the names a user may force a
// model with, and one row per model with the id the writer is told, the
// chip's last address and the name shown in the chip-selection lines.
#pragma once

#include <cstdint>
#include <string>

struct chip_alias {
    const char* name;  // matched as a prefix of the chip name given
    uint8_t id;        // the same id the writer's chip detection reports
};

struct chip_entry {
    const char* model_code;    // the key find_chip looks a row up by
    uint8_t chip_id;           // sent to the writer when probing and selecting
    int32_t last_address;      // chip size - 1
    const char* display_name;  // shown in the [03] lines
};

inline constexpr int kChipModels = 6;
inline constexpr uint8_t kNoModelId = 0x5A;

struct chip_tables {
    chip_alias aliases[kChipModels];
    chip_entry entries[kChipModels];  // same model order as the aliases; the last is the default row
};

struct chip_choice {
    uint8_t chip_id = 0;
    int32_t chip_size = 0;
    std::string display_name;
};

// Looks the row up by its model code (any letter case). On a match sets the
// choice from it and cuts end to the chip; true when [start, end] then lies
// within the chip. No match: false, nothing changed.
bool find_chip(const chip_tables& tables, chip_choice& choice, const std::string& model_code, int32_t start,
               int32_t& end);
// The id of the first alias that is a prefix of the chip name (any letter
// case), or kNoModelId.
uint8_t alias_id(const chip_tables& tables, const std::string& chip_name);
// The row of the model an alias or detected id stands for, or null.
const chip_entry* entry_of_id(const chip_tables& tables, uint8_t id);
// The default row: the largest model.
const chip_entry& default_entry(const chip_tables& tables);
// Prints every row.
void list_chip_table(const chip_tables& tables);
