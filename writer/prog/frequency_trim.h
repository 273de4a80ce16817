// The 3K series' oscillator: the sweep over all codes (Freq), the search for
// the code nearest a target frequency, and the trim that stores that code on
// the chip after a clean verification.
#pragma once

#include "writer_link.h"

#include <cstdint>
#include <functional>

inline constexpr uint8_t kTargetNotSupported = 255;

// The frequency-adjust block of the system information: chip addresses L-14
// (the marker) to L-11 (the trim code), L being the system information's
// length.
inline constexpr int kFrequencyBlockBack = 14;
inline constexpr int kTrimCodeBack = 11;
inline constexpr uint8_t kFrequencyMarker = 0xF0;
inline constexpr uint8_t kNoTrimCode = 0xFF;  // no code stored yet

// Measures the chip's oscillator at a code; Hz, or 0 when not valid.
using frequency_meter = std::function<int32_t(uint8_t code)>;

// The code whose frequency lies nearest the target (0.1 MHz units), or
// kTargetNotSupported for a target outside 5.0 to 14.0 MHz.
uint8_t find_trim_code(uint8_t target, const frequency_meter& measure);

// The Freq sweep over codes 0x30 to 0x7F; false at the first code whose
// measurement is not valid.
bool frequency_sweep(const frequency_meter& measure);

// Trims the chip from the frequency-adjust block at L-14 to L-11 on the
// chip; 0..6 the frequency-adjust error, or -1 when it passed (or the chip
// has no block).
inline constexpr int kTrimPassed = -1;
int trim_oscillator(writer_link& link, uint16_t system_info_length, const frequency_meter& measure);
