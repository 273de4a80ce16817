// The Test operation: turns the lowest 1 bit of the 16-bit test area at chip
// addresses 6 and 7 into 0 and reads it back.
#include "writer_run.h"

#include "block_transfer.h"
#include "writer_protocol.h"

#include <cstdio>

namespace {

constexpr int32_t kTestFirst = 6;
constexpr int32_t kTestLast = 7;

void test_failed(writer_run& run, int phase) {
    std::printf("\n[XX] Operation Aborted with Test Write Phase %d!\n", phase);
    run.errors = 4 - phase;
    run.ratio = 0;
    run.success = false;
}

bool read_test_area(writer_run& run, uint16_t& value) {
    uint8_t bytes[2] = {};
    int32_t start = kTestFirst;
    int32_t end = kTestLast;
    if (!read_buffer(run.link, bytes, start, end)) return false;
    value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    return true;
}

}  // namespace

void run_test_write(writer_run& run) {
    uint16_t value = 0;
    set_address(run.link, kTestFirst);
    if (!read_test_area(run, value)) return test_failed(run, 0);
    std::printf("Test Area [%d:%d] = %04Xh <Read Out>\n", kTestFirst, kTestLast, value);
    if (value == 0) return test_failed(run, 1);
    const uint16_t written = value & (value - 1);  // the lowest 1 bit cleared
    const uint8_t bytes[2] = {static_cast<uint8_t>(written), static_cast<uint8_t>(written >> 8)};
    int32_t start = kTestFirst;
    int32_t end = kTestLast;
    move_address(run.link, kTestFirst);
    const bool programmed = program_buffer(run.link, bytes, start, end);
    reset_address(run.link);
    if (!programmed) return test_failed(run, 2);
    move_address(run.link, kTestFirst);
    uint16_t read_back = 0;
    if (!read_test_area(run, read_back) || read_back != written) return test_failed(run, 3);
    std::printf("Test Area [%d:%d] = %04Xh <Write In>\n", kTestFirst, kTestLast, written);
    run.errors = 0;
    run.ratio = kFullRatio;
    run.success = true;
}
