#include "application_note.h"

#include <cstdio>
#include <vector>

#include "chip_files.h"
#include "device_vocabulary.h"
#include "pdf_page.h"

namespace {

std::string hex(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string joined(const io_row& row) {
    std::string out;
    for (const char* cell : row) out += std::string(out.empty() ? "" : " | ") + (*cell ? cell : "-");
    return out;
}

}  // namespace

std::string application_note(const offered_device& device, const chip_device& chip, const chip_mode& mode) {
    const std::string name = trigger_mode_name(std::string(1, mode.mode));
    const std::string mode_name = name.empty() ? std::string(1, mode.mode) : name;
    const std::string title = device.symbol + " - " + mode_name;
    std::vector<pdf_line> lines = {
        {"Application Note", 20},
        {device.symbol + " in " + mode_name + " mode", 14},
        {""},
        {"Device: " + device.symbol + " (" + device.code + "), chip model " + dat_model(chip) + ", ROM " +
         std::to_string(device.size / 1024) + " KiB"},
        {"Trigger mode: " + mode_name + " (code " + std::string(1, mode.mode) + ")"},
        {"Voice groups: " + std::to_string(mode.max_sec)},
        {"Voice data starts at ROM address " + hex(mode.offset) + "; the 32 option bytes lie just below it."},
        {"Image templates: " + template_name(device.code, 0, mode.mode) + " (" + compression_formats()[0] + "), " +
         template_name(device.code, 1, mode.mode) + " (" + compression_formats()[1] + ")"},
        {""},
        {"I/O settings", 14},
        {joined(*mode.line0), 9},
        {joined(*mode.line1), 9},
    };
    if (chip.level == 2) {
        const int tenths = chip.frequency_tenths_mhz;
        lines.push_back({""});
        lines.push_back({"The oscillator is trimmed to " + std::to_string(tenths / 10) + "." +
                         std::to_string(tenths % 10) + " MHz when the chip is programmed."});
    }
    return pdf_single_page(title, lines);
}
