// QavUpdate: reports the writer's firmware version and replaces the writer's
// application with the firmware built into this program. The writer is
// switched between its application and its boot loader by a restart command,
// after which the link is closed and opened again.
#include "boot_loader.h"
#include "built_in_firmware.h"
#include "console_key.h"
#include "download.h"
#include "image_cipher.h"
#include "writer_connect.h"
#include "writer_link.h"
#include "writer_protocol.h"

#include <strings.h>

#include <cstdio>

namespace {

constexpr int kProbeTimeoutMs = 100;
constexpr int kRestartWaitMs = 1500;
constexpr int kBuiltInVersion = 0x108;

// updater_exit_code
constexpr int kDone = 0;
constexpr int kParameterError = -1;
constexpr int kNoWriter = -4;
constexpr int kLinkTestFailed = -5;
constexpr int kVersionUnreadable = -6;
constexpr int kFirmwareOlder = -7;
constexpr int kFirmwareNewer = -8;
constexpr int kDownloadFailed = -9;

struct updater_state {
    bool wait = true;
    bool version_mode = false;
    bool update_word = false;
    bool non_overlapped = false;
};

void end_pause(const updater_state& state) {
    if (state.wait) {
        std::fputs("\n[  ] Press any key to end the operation. ", stdout);
        read_console_key(false);
    }
    std::fputs("\n", stdout);
}

// The message and the usage text; a parameter error always waits for a key.
int parameter_error(const char* message, const char* program, updater_state& state) {
    std::fputs(message, stdout);
    std::printf("Usage: %s [Version/Update] [Nonwait] \n", program);
    state.wait = true;
    return kParameterError;
}

bool word_is(const char* word, const char* name) { return strncasecmp(word, name, 3) == 0; }

// The command words; kDone when they are valid.
int read_words(int argc, char** argv, updater_state& state) {
    if (argc > 4) return parameter_error("", argv[0], state);
    for (int i = 1; i < argc && i <= 2; ++i) {
        if (word_is(argv[i], "Ver")) {
            state.version_mode = true;
        } else if (word_is(argv[i], "Non")) {
            state.wait = false;
        } else if (word_is(argv[i], "Upd")) {
            state.update_word = true;
        } else {
            return parameter_error("Unknow parameter\n", argv[0], state);
        }
    }
    if (state.version_mode && state.update_word)
        return parameter_error("Error: Select both Version and update\n", argv[0], state);
    return kDone;
}

class updater {
public:
    explicit updater(updater_state& state) : state_(state), link_(make_hid_backend(), kProbeTimeoutMs) {}

    int run() {
        if (const int result = connect(); result != kDone) return result;
        if (const int result = check_boot_loader(); result != kDone) return result;
        // Back to the application. A writer that does not come back from its
        // boot loader gets the new firmware at once.
        link_.drain_input();
        start_application(link_, kUpdaterRestartAnswerMs);
        if (!restart_link()) return download();

        int major = kNoFirmwareVersion, minor = kNoFirmwareVersion;
        get_firmware_version(link_, major, minor);
        if (major == kNoFirmwareVersion) {
            std::fputs("[  ] Cannot detect current version.\n", stdout);
            if (state_.version_mode) {
                link_.close_writer();
                return kVersionUnreadable;
            }
        } else {
            std::printf("[  ] On-Board Version is V%02x.%02x,Update Version is V01.08 .\n", major, minor);
            if (state_.version_mode) {
                link_.close_writer();
                const int version = major * 256 + minor;
                return version < kBuiltInVersion ? kFirmwareOlder : version > kBuiltInVersion ? kFirmwareNewer : kDone;
            }
        }
        if (!state_.update_word && !confirmed()) {
            std::fputs("\n     User Abort!!\n", stdout);
            link_.close_writer();
            return kLinkTestFailed;
        }
        return download();
    }

private:
    bool open() { return open_writer_link(link_, state_.non_overlapped); }

    int connect() {
        switch (connect_writer_link(link_, state_.non_overlapped)) {
            case writer_connection::not_found:
                std::fputs("[  ] KovaWriter   connect Fail.\n", stdout);
                return kNoWriter;
            case writer_connection::link_test_failed:
                std::fputs("[  ] KovaWriter operation Fail.\n", stdout);
                return kLinkTestFailed;
            case writer_connection::connected:
                break;
        }
        return kDone;
    }

    // The writer restarts after a restart command: wait, close, wait, open again.
    bool restart_link() {
        pause_ms(kRestartWaitMs);
        link_.close_writer();
        pause_ms(kRestartWaitMs);
        return open();
    }

    // Into the boot loader; false with the message when it cannot be opened.
    bool enter_boot_mode() {
        link_.drain_input();
        enter_boot_loader(link_, kUpdaterRestartAnswerMs);
        if (restart_link()) return true;
        std::fputs("[  ] KovaWriter boot mode connect   Fail.\n", stdout);
        return false;
    }

    int check_boot_loader() {
        std::fputs("[  ] Version Checking....\n", stdout);
        if (!enter_boot_mode()) return kNoWriter;
        int major = kNoFirmwareVersion, minor = kNoFirmwareVersion;
        if (get_firmware_version(link_, major, minor) == kNoFirmwareVersion) {
            std::fputs("[  ] KovaWriter boot code check     Fail.\n", stdout);
            return kNoWriter;
        }
        return kDone;
    }

    static bool confirmed() {
        std::fputs("     Are you went to continue ? (yY/others)", stdout);
        const console_key key = read_console_key(false);
        return !key.extended && !key.end_of_input && (key.code == 'y' || key.code == 'Y');
    }

    int download() {
        std::printf("\n     Updating[%*s]\r", kDownloadDots, "");
        std::fflush(stdout);
        if (!enter_boot_mode()) return kNoWriter;
        link_.drain_input();
        image_cipher_init();
        boot_loader loader(link_);
        int result = kDone;
        if (download_firmware(loader, built_in_firmware) == 0) {
            std::fputs("     Firmware download succ.\n", stdout);
        } else {
            std::fputs("     Firmware download fail.\n", stdout);
            result = kDownloadFailed;
        }
        link_.close_writer();
        return result;
    }

    updater_state& state_;
    writer_link link_;
};

int updater_main(int argc, char** argv, updater_state& state) {
    std::fputs("\n", stdout);
    std::fputs("***************************************************************\n", stdout);
    std::fputs("* Update program for ZORVA's USB Writer V1.08      2009.10.14 *\n", stdout);
    std::fputs("***************************************************************\n\n", stdout);
    if (const int result = read_words(argc, argv, state); result != kDone) return result;
    const int platform = get_platform_id();
    if (platform != 1 && platform != 2) {
        std::printf("Unknow OS ID is %d\n", platform);
        return kParameterError;
    }
    state.non_overlapped = platform == 1;
    updater run(state);
    return run.run();
}

}  // namespace

int main(int argc, char** argv) {
    updater_state state;
    const int result = updater_main(argc, argv, state);
    end_pause(state);
    return result;
}
