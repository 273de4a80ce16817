#include "sim_oscillator.h"

namespace {

constexpr double kCountAtCode38 = 240.0;   // 14.70 MHz
constexpr double kCountPerCode = 5.3;      // code 127: 712, 4.95 MHz
constexpr int kSampleJitter[4] = {0, 1, -1, 0};  // the samples scatter, their sum does not

}  // namespace

uint16_t oscillator_period_count(uint8_t code, int sample) {
    const double count = kCountAtCode38 + (static_cast<int>(code) - 38) * kCountPerCode;
    return static_cast<uint16_t>(static_cast<int>(count + 0.5) + kSampleJitter[sample & 3]);
}
