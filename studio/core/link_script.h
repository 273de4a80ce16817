// The link script (temp/result.lns) that has the image builder make the DAT
// image: the output and duplicate images, the ROM size, the chip's image
// template and the voice data to append, the option bytes and the checksum.
// 38 lines, CR LF line ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "project_snapshot.h"

// Results, in the order the checks are made.
inline constexpr int kLinkScriptWritten = 0;
inline constexpr int kLinkNoDeviceCode = -1;   // nothing written
inline constexpr int kLinkFormatUnknown = -2;  // nothing written
inline constexpr int kLinkNoModeCode = -3;     // nothing written
inline constexpr int kLinkNoOffset = -7;       // Offset missing, not hexadecimal or below 32: nothing written
inline constexpr int kLinkNotOpened = -5;
inline constexpr int kLinkNoRomSize = -6;      // no ROM size above 0: the script keeps its first two lines
inline constexpr int kLinkWriteFailed = -4;    // a write or the close failed

// The voice data's start address from the mode settings' Offset text: the
// text read as hexadecimal digits without prefix. Nothing when it is empty, not
// hexadecimal, beyond 32 bits, or below 32, which would put the option bytes
// below ROM address 0.
std::optional<int32_t> voice_data_offset(const std::string& offset_text);

struct link_script_plan {
    int result = kLinkScriptWritten;
    bool opens_file = false;  // false when a check before opening the script failed
    std::string text;         // the script's content as far as written
};

// The script for the project. `program_folder` ends in "/"; `dat_path` is the
// image to make.
link_script_plan plan_link_script(const project_snapshot& project, const std::string& offset_text,
                                  const std::string& program_folder, const std::string& dat_path);

// Writes the script to program_folder + "temp/result.lns".
int write_link_script(const project_snapshot& project, const std::string& offset_text,
                      const std::string& program_folder, const std::string& dat_path);
