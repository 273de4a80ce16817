#include <algorithm>

#include "qavchk.h"

namespace {

constexpr int kRowLength = 64;

// Writes the text of one row: each byte pair that holds no 0xFF byte. A last
// byte without a partner (a text header of odd length) stands for itself.
void list_row(tool_log& log, const uint8_t* row, int length) {
    bool wrote = false;
    for (int i = 0; i < length; i += 2) {
        if (i + 1 < length) {
            if (row[i] == 0xFF || row[i + 1] == 0xFF) continue;
            log.say("%c%c", row[i], row[i + 1]);
        } else {
            if (row[i] == 0xFF) continue;
            log.say("%c", row[i]);
        }
        wrote = true;
    }
    if (wrote) log.say("\n");
}

int list_text_header(chk_state& state) {
    int remaining = state.header.header_offset - kImageHeaderSize;
    std::fseek(state.image, kImageHeaderSize, SEEK_SET);
    state.log.say("(========================<Header Begin>========================)\n");
    while (remaining > 0) {
        uint8_t row[kRowLength];
        const int length = std::min(kRowLength, remaining);
        if (std::fread(row, 1, static_cast<size_t>(length), state.image) != static_cast<size_t>(length))
            return chk_header_refused;
        list_row(state.log, row, length);
        remaining -= length;
    }
    state.log.say("(========================<Header   End>========================)\n");
    return 0;
}

}  // namespace

int chk_print_header(chk_state& state) {
    int result = chk_header_refused;
    if (image_read_header(state.image, state.header) && image_header_accepted(state.header))
        result = list_text_header(state);
    std::fseek(state.image, 0, SEEK_END);
    return result;
}
