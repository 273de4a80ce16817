#include "frequency_trim.h"

#include <cstdio>

namespace {

constexpr int kFirstCode = 0x30;
constexpr int kLastCode = 0x7F;

}  // namespace

bool frequency_sweep(const frequency_meter& measure) {
    int32_t previous = 0;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        const int32_t f = measure(static_cast<uint8_t>(code));
        if (f == 0) return false;
        const double step_up = previous == 0 ? 0.0 : static_cast<double>(previous - f) / f * 100.0;
        previous = f;
        std::printf("     code[%2x=%3d.%cR]: Freq=%2d.%06d MHz %f%c step-up\n", code, (code + 2) / 2,
                    (code + 2) % 2 ? '5' : '0', f / 1000000, f % 1000000, step_up, '%');
    }
    return true;
}
