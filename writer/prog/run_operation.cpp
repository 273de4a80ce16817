// The operation step of a run: the one operation of the function word.
#include "writer_run.h"

#include "block_transfer.h"
#include "frequency_trim.h"
#include "image_checksum.h"
#include "writer_command.h"
#include "writer_protocol.h"

#include <cstdio>

namespace {

frequency_meter meter_of(writer_link& link) {
    return [&link](uint8_t code) { return measure_frequency(link, code); };
}

// Reads the whole range back and compares it with the image (or 0xFF).
void compare_chip(writer_run& run, const image_input* image, uint16_t L) {
    if (image) seek_image(*image, run.range_start);
    compare_result result;
    const bool transferred =
        compare_range(run.link, image, run.range_start, run.range_end, result, run.compare_mode(), L);
    run.errors = result.errors;
    if (!transferred) {
        run.abort_with_error();
        return;
    }
    run.ratio = result.pass_ratio;
    run.success = result.errors == 0;
}

void blank_check(writer_run& run) { compare_chip(run, nullptr, 0); }

void trim_after_program(writer_run& run) {
    const int error = trim_oscillator(run.link, run.system_info_length, meter_of(run.link));
    if (error == kTrimPassed) return;
    std::printf("\n[XX] Frequency adjust error %d!\n", error);
    run.ratio = 0;
    run.success = false;
}

void program_chip(writer_run& run) {
    seek_image(run.image, run.range_start);
    const bool slave = run.function->code == kFuncSlave;
    const bool programmed =
        program_from_image(run.link, &run.image, nullptr, code_of(writer_command::program), run.range_start,
                           run.range_end, slave);
    reset_address(run.link);
    if (!programmed) {
        run.abort_with_error();
        return;
    }
    set_address(run.link, run.range_start);
    compare_chip(run, &run.image, run.system_info_length);
    if (!run.success) return;
    if (run.series.has_oscillator && run.system_info_length > kMinSystemInfoLength) trim_after_program(run);
}

void verify_chip(writer_run& run) {
    const uint16_t L = run.system_info_length;
    if (run.series.probes_read_protect) {
        uint8_t protect[2];
        int32_t start = L - 8;
        int32_t end = L - 7;
        set_address(run.link, start);
        if (!read_buffer(run.link, protect, start, end)) {
            std::fputs("\n[XX] Operation Aborted with read protect!\n", stdout);
            run.ratio = 0;
            run.success = false;
            return;
        }
    }
    move_address(run.link, run.range_start);
    compare_chip(run, &run.image, L);
}

void frequency_operation(writer_run& run) {
    run.success = frequency_sweep(meter_of(run.link));
    run.ratio = run.success ? kFullRatio : 0;
}

}  // namespace

void run_operation(writer_run& run) {
    switch (run.function->code) {
        case kFuncBlank:
        case kFuncEmpty: return blank_check(run);
        case kFuncProgram:
        case kFuncSlave: return program_chip(run);
        case kFuncVerify:
        case kFuncCheck: return verify_chip(run);
        case kFuncTest: return run_test_write(run);
        case kFuncFreq: return frequency_operation(run);
        default: run.success = false;
    }
}
