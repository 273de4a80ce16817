// The application note of a device in one trigger mode: one page naming the
// device and the mode, with what the mode settings say about the chip.
#pragma once

#include <string>

#include "chip_device_table.h"
#include "offered_devices.h"

// The whole PDF file.
std::string application_note(const offered_device& device, const chip_device& chip, const chip_mode& mode);
