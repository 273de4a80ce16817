#include "writer_chip_table.h"

#include <cstdio>
#include <strings.h>

bool find_chip(const chip_tables& tables, chip_choice& choice, const std::string& model_code, int32_t start,
               int32_t& end) {
    for (const chip_entry& row : tables.entries) {
        if (strcasecmp(row.model_code, model_code.c_str()) != 0) continue;
        choice.chip_id = row.chip_id;
        choice.chip_size = row.last_address + 1;
        choice.display_name = row.display_name;
        if (end > row.last_address) end = row.last_address;
        return start <= row.last_address && end >= start;
    }
    return false;
}

uint8_t alias_id(const chip_tables& tables, const std::string& chip_name) {
    for (const chip_alias& alias : tables.aliases)
        if (strncasecmp(chip_name.c_str(), alias.name, std::char_traits<char>::length(alias.name)) == 0)
            return alias.id;
    return kNoModelId;
}

const chip_entry* entry_of_id(const chip_tables& tables, uint8_t id) {
    if (id == kNoModelId) return nullptr;
    for (int i = 0; i < kChipModels; ++i)
        if (tables.aliases[i].id == id) return &tables.entries[i];
    return nullptr;
}

const chip_entry& default_entry(const chip_tables& tables) { return tables.entries[kChipModels - 1]; }

void list_chip_table(const chip_tables& tables) {
    for (const chip_entry& row : tables.entries)
        std::printf("IC:%s id is 0x%02xh [0x00000:%05x].\n", row.model_code, row.chip_id,
                    static_cast<unsigned>(row.last_address));
}
