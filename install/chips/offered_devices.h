// The devices a setup.ini offers, with the trigger modes each one's Pack
// bits offer: what the per-chip folders of bin/ must serve.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ini_file;

struct offered_device {
    std::string code;         // section name, "Y0" .. "Z9"
    std::string symbol;       // display name
    int32_t size = 0;         // ROM size in bytes
    std::vector<char> modes;  // trigger-mode codes in list order
};

// Sections Y0 to Y9, then Z0 to Z9, each with a non-empty Symbol. Pack bits
// above the six trigger modes are ignored.
std::vector<offered_device> offered_devices(const ini_file& setup);
