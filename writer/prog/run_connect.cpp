// The writer steps of a run: opening the writer (falling back to the
// non-overlapped form), the link test and the firmware version, restarting a
// writer that still runs its boot loader.
#include "writer_run.h"

#include "hid_port.h"
#include "writer_command.h"
#include "writer_connect.h"
#include "writer_protocol.h"

#include <cstdio>

namespace {

constexpr int kRestartWaitMs = 1000;
constexpr int kRestartRetryWaitMs = 3000;
constexpr int kFirmwareMajor = 1;

bool open_link(writer_run& run) { return open_writer_link(run.link, run.non_overlapped); }

int connect_failed(writer_run& run) {
    std::fputs("[01] KovaWriter   connect Fail.\n", stdout);
    run.close_image();
    return kExitConnection;
}

int check_firmware(writer_run& run) {
    int major = 0;
    int minor = 0;
    run.link.drain_input();
    get_firmware_version(run.link, major, minor);
    if (major & kBootLoaderVersionBit) {
        run.link.drain_input();
        start_application(run.link);
        run.link.close_writer();
        pause_ms(kRestartWaitMs);
        if (!open_link(run)) {
            pause_ms(kRestartRetryWaitMs);
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
    switch (connect_writer_link(run.link, run.non_overlapped)) {
        case writer_connection::not_found:
            return connect_failed(run);
        case writer_connection::link_test_failed:
            std::fputs("[02] KovaWriter operation Fail.\n", stdout);
            run.close_image();
            return kExitLink;
        case writer_connection::connected:
            break;
    }
    return check_firmware(run);
}
