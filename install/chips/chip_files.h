// The per-chip folders of bin/: for every trigger mode a device of setup.ini
// offers, the folder named by its mode key holds the mode settings file, the
// device's image templates of both compression formats and its application note.
#pragma once

#include <filesystem>
#include <string>

#include "chip_device_table.h"
#include "template_image.h"

// "Y122.pgm": the image template KovaStudio's link script names for the
// device code, the compression format (its index in the format list) and the
// trigger-mode code.
std::string template_name(const std::string& code, int compression_index, char mode);

// The settings file of a mode: [Global] Offset (hexadecimal without prefix),
// Fixed and MaxSec, [Line0] and [Line1] with Cell00 to Cell10.
std::string mode_settings_text(const chip_mode& mode);

// How the template of a device in a mode and format is made: the device's
// model, level and range, ending at the mode's Offset.
template_spec chip_template_spec(const chip_device& device, const chip_mode& mode, int compression_index);

// Writes every file for the devices setup.ini offers into `bin`, after
// removing the mode-key folders already there (so that none outlives the
// table). False with a message in `error` when setup.ini cannot be read,
// offers a device or mode the table lacks, or a file cannot be made.
bool make_chip_files(const std::filesystem::path& setup_ini, const std::filesystem::path& bin, std::string& error);
