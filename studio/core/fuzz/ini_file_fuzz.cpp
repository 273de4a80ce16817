// Fuzz target: the settings reader on one file. Input: the file. Every
// section and key the file names (the first few of each, and the names
// KovaStudio reads most) is looked up as written and in swapped letter case,
// and a small model of the reading rules says what each lookup must give.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "ini_file.h"

namespace {

constexpr size_t kNamesLookedUp = 3;  // of the file's sections, and of its keys

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return fold(x) == fold(y);
           });
}

std::string swapped_case(std::string text) {
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isupper(u)) c = static_cast<char>(std::tolower(u));
        else if (std::islower(u)) c = static_cast<char>(std::toupper(u));
    }
    return text;
}

struct setting {
    std::string section, key, value;
};

// Every "key=value" line that stands under a "[section]" line, in file order,
// with its value as a read returns it.
std::vector<setting> settings_of(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<setting> found;
    std::optional<std::string> section;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            section.reset();
            if (close != std::string_view::npos) section = std::string(trim(line.substr(1, close - 1)));
            continue;
        }
        const size_t equals = line.find('=');
        if (!section || equals == std::string_view::npos) continue;
        std::string_view value = trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        found.push_back({*section, std::string(trim(line.substr(0, equals))),
                         std::string(value.substr(0, kIniValueLimit))});
    }
    return found;
}

std::optional<std::string> model_find(const std::vector<setting>& settings, const std::string& section,
                                      const std::string& key) {
    for (const setting& s : settings)
        if (same_ignoring_case(s.section, section) && same_ignoring_case(s.key, key)) return s.value;
    return std::nullopt;
}

// The integer rule: "0x" and hexadecimal digits filling up to 32 bits, or an
// optional sign and decimal digits within the signed 32-bit range.
std::optional<int32_t> model_integer(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        uint64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFFFFu) return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < INT32_MIN ||
        value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string shown(const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "nothing"; }

void check_integer_rule(const std::string& text) {
    const std::optional<int32_t> got = parse_ini_integer(text), expected = model_integer(text);
    KOVA_PROMISE(got == expected, "\"" + text + "\" read as " + (got ? std::to_string(*got) : "nothing"));
}

// Adds `limit` of the candidates not yet in `names` (compared without case),
// picked at random when there are more.
void add_names(std::vector<std::string>& names, const std::vector<std::string>& candidates, size_t limit,
               kova_fuzz::choices& pick) {
    const auto folded = [](std::string name) {
        for (char& c : name) c = fold(c);
        return name;
    };
    std::set<std::string> seen;
    for (const std::string& name : names) seen.insert(folded(name));
    std::vector<std::string> fresh;
    for (const std::string& name : candidates)
        if (seen.insert(folded(name)).second) fresh.push_back(name);
    for (size_t i = 0; i < limit && !fresh.empty(); ++i) {
        const size_t at = pick.between(0, static_cast<uint32_t>(fresh.size() - 1));
        names.push_back(fresh[at]);
        fresh.erase(fresh.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

void check_lookup(const ini_file& file, const std::vector<setting>& settings, const std::string& section,
                  const std::string& key) {
    const std::string where = "[" + section + "] " + key + ": ";
    const std::optional<std::string> expected = model_find(settings, section, key);
    const std::optional<std::string> got = file.find(section, key);
    KOVA_PROMISE(got == expected, where + shown(got) + " read, " + shown(expected) + " expected");
    if (got) KOVA_PROMISE(got->size() <= kIniValueLimit, where + std::to_string(got->size()) + " characters");
    const std::string other_case = file.read_string(swapped_case(section), swapped_case(key), "\x01");
    KOVA_PROMISE(other_case == got.value_or("\x01"), where + "in swapped case \"" + other_case + "\"");

    // A default other than the number tells the number from the default.
    const std::optional<int32_t> number = got ? parse_ini_integer(*got) : std::nullopt;
    const int32_t value = number.value_or(0);
    const int32_t fallback = static_cast<int32_t>(static_cast<uint32_t>(value) + 1);
    const int32_t read = file.read_integer(section, key, fallback);
    KOVA_PROMISE(read == (number ? value : fallback), where + "read_integer gave " + std::to_string(read));
    KOVA_PROMISE(file.read_bool(section, key, true) == (!number || value != 0), where + "read_bool");
    if (got) check_integer_rule(*got);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path path = kova_fuzz::scratch_folder("ini_file") / "setup.ini";
    kova_fuzz::write_file(path, data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<setting> settings = settings_of(text);

    std::vector<std::string> section_names, key_names;
    for (const setting& s : settings) {
        section_names.push_back(s.section);
        key_names.push_back(s.key);
    }
    std::vector<std::string> sections = {"System"}, keys = {"Language"};
    kova_fuzz::choices pick(data, size);
    add_names(sections, section_names, kNamesLookedUp, pick);
    add_names(keys, key_names, kNamesLookedUp, pick);

    const ini_file file(path.string());
    for (const std::string& section : sections)
        for (const std::string& key : keys) check_lookup(file, settings, section, key);

    // The integer rule on the whole input, and a file that is not there.
    check_integer_rule(text);
    const ini_file missing((path.parent_path() / "none.ini").string());
    KOVA_PROMISE(!missing.find("System", "Language") && missing.read_integer("System", "SysChk", 5) == 5,
                 "a missing file gives the defaults");
    return 0;
}
