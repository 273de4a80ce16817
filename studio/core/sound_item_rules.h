// The texts of a file-list row that are built or read by rule: item ids
// ("I" and four digits, counted on from the row above), the name, path and
// time text of a mute, and the paths a row cannot carry.
#pragma once

#include <optional>
#include <string>

// The highest item number: ids have exactly four digits.
inline constexpr int kLastItemNumber = 9999;

// The number of an item id ("I0042" gives 42): its characters 2 to 5, which
// must be four decimal digits; nothing for any other text.
std::optional<int> item_number(const std::string& id);

// The id after `previous_id` ("I0041" gives "I0042", the header's "I0000"
// gives "I0001"); nothing when `previous_id` is no item id or when the next
// one would pass I9999.
std::optional<std::string> next_item_id(const std::string& previous_id);

// A mute's name "Mute: <time> mS" and path "*Mute<time>", the time text kept as typed.
std::string mute_name(const std::string& time_text);
std::string mute_path(const std::string& time_text);
// The time text inside a mute's name: the characters between "Mute: " and
// " mS"; empty for a text too short to hold them.
std::string mute_time_text(const std::string& name);

// A mute time as typed, read as a decimal number (not a number counts 0): 1 to 60000 is accepted.
bool mute_time_accepted(const std::string& time_text);

// A path holding a double quote, a carriage return or a line feed, which the
// encoder script and the voice table cannot carry.
bool path_refused(const std::string& path);
