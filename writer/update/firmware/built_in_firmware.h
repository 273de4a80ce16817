#pragma once

#include <cstdint>

#include "firmware_layout.h"

// The writer firmware the updater downloads, stored enciphered.
extern const uint8_t built_in_firmware[kFirmwareSize];
