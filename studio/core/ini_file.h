// Reader of settings and language files with the rules that the installation's
// INI files are written for: section and key names match without regard to
// letter case, the first of repeated sections or keys wins, a value is the
// text after "=" with surrounding blanks removed (a value wrapped in double
// quotes keeps its inner blanks, the quotes go), at most 2047 characters.
// The file is read at every call, so a text is always the one on disk when it
// is shown; a missing or unreadable file gives every default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class ini_file {
public:
    ini_file() = default;  // no file: every read gives its default
    explicit ini_file(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    std::string read_string(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Decimal, or hexadecimal after "0x"; anything else gives the default.
    int32_t read_integer(const std::string& section, const std::string& key, int32_t fallback) const;
    // Read as an integer: 0 is false, any other number true.
    bool read_bool(const std::string& section, const std::string& key, bool fallback) const;

    // The value as stored, or nothing when the key is absent.
    std::optional<std::string> find(const std::string& section, const std::string& key) const;

private:
    std::string path_;
};

// The integer rule on its own: optional sign and decimal digits, or "0x" and
// hexadecimal digits, the whole text and within 32 bits; else nothing.
std::optional<int32_t> parse_ini_integer(const std::string& text);

// The longest value a read returns; longer values are cut.
inline constexpr size_t kIniValueLimit = 2047;
