#include "qavchk.h"

int chk_verify_image(chk_state& state) {
    int result = chk_header_refused;
    // A system information shorter than 16 bytes cannot hold the checksum
    // slot: the calculator refuses it like an unusable header.
    if (image_read_header(state.image, state.header) && image_header_accepted(state.header) &&
        chk_image_checksum(state.image, state.header, state.result, state.rom_size, state.stored_checksum))
        result = 0;
    std::fseek(state.image, 0, SEEK_END);
    return result;
}

void chk_close_files(chk_state& state) {
    state.log.close();
    if (state.image) std::fclose(state.image);
    state.image = nullptr;
}
