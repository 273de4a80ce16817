#include "sound_item_rules.h"

#include <cctype>
#include <cstdio>

#include "decimal_text.h"

namespace {

constexpr size_t kIdLength = 5;
constexpr const char* kMutePrefix = "Mute: ";
constexpr const char* kMuteSuffix = " mS";
constexpr size_t kMuteFrame = 9;  // "Mute: " and " mS"
constexpr int64_t kShortestMute = 1;
constexpr int64_t kLongestMute = 60000;

}  // namespace

std::optional<int> item_number(const std::string& id) {
    if (id.size() != kIdLength || id[0] != 'I') return std::nullopt;
    int number = 0;
    for (size_t i = 1; i < kIdLength; ++i) {
        const unsigned char digit = static_cast<unsigned char>(id[i]);
        if (!std::isdigit(digit)) return std::nullopt;
        number = number * 10 + (digit - '0');
    }
    return number;
}

std::optional<std::string> next_item_id(const std::string& previous_id) {
    const std::optional<int> number = item_number(previous_id);
    if (!number || *number >= kLastItemNumber) return std::nullopt;
    char id[8];
    std::snprintf(id, sizeof id, "I%04d", *number + 1);
    return std::string(id);
}

std::string mute_name(const std::string& time_text) { return kMutePrefix + time_text + kMuteSuffix; }

std::string mute_path(const std::string& time_text) { return "*Mute" + time_text; }

std::string mute_time_text(const std::string& name) {
    if (name.size() < kMuteFrame) return {};
    return name.substr(6, name.size() - kMuteFrame);
}

bool mute_time_accepted(const std::string& time_text) {
    const int64_t time = parse_decimal(time_text).value_or(0);
    return time >= kShortestMute && time <= kLongestMute;
}

bool path_refused(const std::string& path) { return path.find_first_of("\"\r\n") != std::string::npos; }
