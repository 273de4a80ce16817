#include <cstdio>

#include "parse_hex.h"
#include "qavchk.h"
#include "regular_file.h"

namespace {

constexpr const char* kBanner = "------- QavChk V1.8 (2010.03.10)---------\n";
constexpr const char* kFileError = "[CheckSum:xxxx] Error QAV file <%s> !!\n\n";

int report_checksum(chk_state& state) {
    const checksum_result& r = state.result;
    if (r.checksum != state.stored_checksum) {
        state.log.say("Check Sum: [%04X] unmatched with[%04X]\n", r.checksum, state.stored_checksum);
        return chk_mismatch;
    }
    state.log.say("Check Sum: [%04X] Verify OK.\n", r.checksum);
    if (r.frequency_adjust)
        std::printf("Check OPT: Frequency Adj to %d.%d MHz.\n", r.frequency_hz / 1000000,
                    r.frequency_hz % 1000000 / 100000);
    return chk_ok;
}

}  // namespace

int chk_main(int argc, const char* const argv[]) {
    if (argc < 3 || argc > 4) {
        std::printf("Usage: %s qav-file romsize(hex) [log-fname]\n\n", argc > 0 && argv[0] ? argv[0] : "qavchk");
        return chk_usage;
    }
    chk_state state;
    const char* path = argv[1];
    if (argc == 4) state.log.open(argv[3]);  // without it the run goes on with standard output only
    state.rom_size = parse_hex(argv[2]);
    state.log.say("%s", kBanner);

    // Only a regular file counts: a pipe opened this way would keep the
    // checksum waiting for bytes that never come. The image is only read, so
    // a file its user may not write is checked all the same.
    state.image = open_regular_file(path);
    if (!state.image) {
        state.log.say(kFileError, path);
        chk_close_files(state);
        return chk_cannot_open;
    }
    state.log.say("Qav input: <%s>\n", path);
    chk_print_header(state);
    if (chk_verify_image(state) != 0) {
        state.log.say(kFileError, path);
        chk_close_files(state);
        return chk_invalid_header;
    }
    const int result = report_checksum(state);
    chk_close_files(state);
    return result;
}
