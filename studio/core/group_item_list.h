// A voice group's item list: a run of 6-character entries, each an item id
// ("I" and four digits) followed by its busy flag ("1" enabled, "0"
// disabled), and the rules of the group list and group table built on it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr size_t kItemEntryLength = 6;
// The group table never has fewer rows (header included).
inline constexpr int kGroupTableLeastRows = 13;

// The whole entries of a list, in order; a cut-off tail is left out.
std::vector<std::string> item_entries(const std::string& item_list);

// The list without any entry of `id`, whatever its busy flag.
std::string remove_item_id(const std::string& item_list, const std::string& id);

// The entry with its busy flag switched: "1" becomes "0", anything else "1".
std::string toggled_entry(const std::string& entry);
// "Disable" for an entry whose flag is "0", else "Enable".
std::string busy_text(const std::string& entry);

// Rows of the group table for a group of `entries` entries: at least 13, and
// always one empty row after the last entry.
int group_table_row_count(size_t entries);

// "Group: 001" for group 1; more digits from group 1000 on.
std::string group_label(int group);
