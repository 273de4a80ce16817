// The 3K chip's oscillator as the writer measures it: the frequency falls as
// the code rises, from above 14 MHz at code 38 to below 5 MHz at code 127.
#pragma once

#include <cstdint>

// Period count of one of the four samples (0..3) of a measurement; the
// writer tools turn the average count c into 3527 / c MHz.
uint16_t oscillator_period_count(uint8_t code, int sample);
