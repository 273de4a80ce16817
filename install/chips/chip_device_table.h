// The chips of the sample installation in one table: for each device code how
// its image templates are made, and for each chip digit and trigger mode what
// its mode settings file holds. The generator writes the per-chip folders of
// bin/ from it. The device code's chip model comes from the device vocabulary.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mode_settings.h"

struct chip_device {
    const char* code;           // setup.ini section: "Y1" .. "Z6"
    int level;                  // system information level: 1 or 2
    int32_t cipher_start;       // enciphered range of its templates, [start, end)
    int32_t cipher_end;
    int frequency_tenths_mhz;   // level II oscillator target; 0 for level I
};

using io_row = std::array<const char*, kIoSettingColumns>;

struct chip_mode {
    char digit;           // the device code's digit: Y1 and Z1 share the settings of digit '1'
    char mode;            // trigger-mode code
    int32_t offset;       // ROM address where the voice data starts; the option bytes lie just below
    int max_sec;          // voice groups the mode offers
    int fixed;            // header rows of the I/O settings grid: 0 or 1
    const io_row* line0;  // the two rows of I/O settings
    const io_row* line1;
};

const std::vector<chip_device>& chip_devices();
const std::vector<chip_mode>& chip_modes();

// Look-ups by code and by digit and mode code; nullptr when the table lacks it.
const chip_device* find_chip_device(const std::string& code);
const chip_mode* find_chip_mode(char digit, char mode);

// The device's chip model as an image's text header spells it ("KOVA3k10");
// "" when its code has no chip model name.
std::string dat_model(const chip_device& device);

// The folder and settings-file name of a chip digit and trigger mode: "1x2".
std::string mode_key(char digit, char mode);
