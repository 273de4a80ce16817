#include "frequency_trim.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kLowestTarget = 50;
constexpr int kHighestTarget = 140;
constexpr int kLowCode = 38;
constexpr int kHighCode = 127;
constexpr int32_t kHzPerUnit = 100000;

}  // namespace

uint8_t find_trim_code(uint8_t target, const frequency_meter& measure) {
    std::printf("\n     Execute Frequecy Adjust to %f MHz.\n", target * 0.1);
    if (target > kHighestTarget || target < kLowestTarget) {
        std::fputs("     Un-supported frequency", stdout);
        return kTargetNotSupported;
    }
    const int32_t target_hz = target * kHzPerUnit;
    int lo = kLowCode;
    int hi = kHighCode;
    int mid = 0;
    for (;;) {
        mid = (lo + hi) / 2;
        const int32_t f = measure(static_cast<uint8_t>(mid));
        if (f > target_hz) {
            if (mid == lo) break;
            lo = mid;
        } else if (f < target_hz) {
            if (mid == hi) break;
            hi = mid;
        } else {
            break;
        }
    }
    int32_t f[3];
    int64_t distance[3];
    for (int i = 0; i < 3; ++i) {
        f[i] = measure(static_cast<uint8_t>(mid - 1 + i));
        distance[i] = std::llabs(int64_t{f[i]} - target_hz);
    }
    int choice = 1;
    if (distance[0] <= distance[1] && distance[0] <= distance[2])
        choice = 0;
    else if (distance[2] <= distance[1])
        choice = 2;
    const int code = mid - 1 + choice;
    std::printf("     Desires res code is %02x, measured %d Hz (%f%c).\n", code, f[choice],
                static_cast<double>(f[choice] - target_hz) / target_hz * 100.0, '%');
    return static_cast<uint8_t>(code);
}
