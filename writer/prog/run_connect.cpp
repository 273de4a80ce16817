// Steps 8 to 10 of a run: opening the writer (falling back to the
// non-overlapped form), the link test and the firmware version, restarting a
// writer that still runs its boot loader.
#include "writer_run.h"

#include "hid_port.h"
#include "writer_protocol.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int kInputBuffers = 64;
constexpr int kProbeAllBuffers = 0;
constexpr int kRestartWaitMs = 1000;
constexpr int kRestartRetryWaitMs = 3000;
constexpr int kBootLoaderBit = 0x80;
constexpr int kFirmwareMajor = 1;

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool open_link(writer_run& run) {
    return run.link.open_writer(kWriterVendorId, kWriterProductId, kInputBuffers, kProbeAllBuffers,
                                run.non_overlapped);
}

int connect_failed(writer_run& run) {
    std::fputs("[01] KovaWriter   connect Fail.\n", stdout);
    run.close_image();
    return kExitConnection;
}

int link_test_failed(writer_run& run) {
    std::fputs("[02] KovaWriter operation Fail.\n", stdout);
    run.link.close_writer();
    run.close_image();
    return kExitLink;
}

int link_test(writer_run& run) {
    run.link.drain_input();
    if (sync_test(run.link, false, false)) return kGoOn;
    if (run.non_overlapped) return link_test_failed(run);
    run.non_overlapped = true;
    if (!open_link(run)) return connect_failed(run);
    run.link.drain_input();
    if (!sync_test(run.link, false, false)) return link_test_failed(run);
    return kGoOn;
}

int check_firmware(writer_run& run) {
    int major = 0;
    int minor = 0;
    run.link.drain_input();
    get_firmware_version(run.link, major, minor);
    if (major & kBootLoaderBit) {
        run.link.drain_input();
        start_application(run.link);
        run.link.close_writer();
        sleep_ms(kRestartWaitMs);
        if (!open_link(run)) {
            sleep_ms(kRestartRetryWaitMs);
            if (!open_link(run)) return connect_failed(run);
        }
        run.link.drain_input();
    }
    get_firmware_version(run.link, major, minor);
    if (major != kFirmwareMajor) {
        std::fputs("[01] KovaWriter connect   Fail.\n", stdout);
        std::fputs("     cannot get correct firmware version!\n", stdout);
        run.close_image();
        return kExitConnection;
    }
    std::fputs("[01] KovaWriter connect   Succ.\n", stdout);
    std::fputs("[02] KovaWriter operation Succ.\n", stdout);
    std::printf("     Operatin with %04d input buffer & %04d pipe stage!!!\n", run.link.get_input_buffers(),
                run.link.get_pipe_depth());
    std::printf("     Fimware version is [%02d.%02d].\n", major, minor);
    run.link.drain_input();
    return kGoOn;
}

}  // namespace

int connect_writer(writer_run& run) {
    run.non_overlapped = get_platform_id() == 1;
    if (!open_link(run)) {
        run.non_overlapped = true;
        if (!open_link(run)) return connect_failed(run);
    }
    const int linked = link_test(run);
    if (linked != kGoOn) return linked;
    return check_firmware(run);
}
