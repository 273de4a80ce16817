#include "group_item_list.h"

#include <cstdio>

std::vector<std::string> item_entries(const std::string& item_list) {
    std::vector<std::string> entries;
    entries.reserve(item_list.size() / kItemEntryLength);
    for (size_t at = 0; at + kItemEntryLength <= item_list.size(); at += kItemEntryLength)
        entries.push_back(item_list.substr(at, kItemEntryLength));
    return entries;
}

std::string remove_item_id(const std::string& item_list, const std::string& id) {
    // Every id starts with "I" and the rest of an entry is digits, so a match
    // never spans two entries.
    std::string list = item_list;
    for (const char flag : {'0', '1'}) {
        const std::string entry = id + flag;
        for (size_t at = list.find(entry); at != std::string::npos; at = list.find(entry, at))
            list.erase(at, entry.size());
    }
    return list;
}

std::string toggled_entry(const std::string& entry) {
    if (entry.size() < kItemEntryLength) return entry;
    return entry.substr(0, kItemEntryLength - 1) + (entry[kItemEntryLength - 1] == '1' ? "0" : "1");
}

std::string busy_text(const std::string& entry) {
    return entry.size() >= kItemEntryLength && entry[kItemEntryLength - 1] == '0' ? "Disable" : "Enable";
}

int group_table_row_count(size_t entries) {
    return entries >= 12 ? static_cast<int>(entries) + 2 : kGroupTableLeastRows;
}

std::string group_label(int group) {
    char label[24];
    std::snprintf(label, sizeof label, "Group: %03d", group);
    return label;
}
