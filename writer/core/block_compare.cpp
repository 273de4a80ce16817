#include "block_compare.h"

#include "writer_command.h"

#include <cstdio>

namespace {

constexpr uint8_t kBlank = 0xFF;

int count_image_errors(uint8_t c, uint8_t m, int32_t address, uint8_t mode, int32_t L) {
    int errors = 0;
    if ((mode & kMarkOnly) && address == L - 8) {
        if (c == kSlaveMark) return 0;
        ++errors;
    }
    if ((mode & kMarkOrBlank) && address == L - 8) {
        if (c == kSlaveMark || c == kBlank) return errors;
        ++errors;
    }
    if ((mode & kSkipProtectBytes) && (address == L - 10 || address == L - 9)) return errors;
    if ((mode & kSkipTrimCode) && address == L - 11) return errors;
    return errors + (c != m ? 1 : 0);
}

}  // namespace

bool compare_block(const uint8_t* chip, int count, compare_state& state) {
    const int32_t L = state.system_info_length;
    if (!state.image) {
        for (int j = 0; j < count; ++j) {
            const int32_t address = state.position + j;
            if (state.mode != 0 && address >= L - 10 && address <= L - 7) continue;
            if (chip[j] != kBlank) ++state.errors;
        }
        return true;
    }
    uint8_t image_bytes[kWriterBlockSize];
    if (count < 0 || count > kWriterBlockSize) return false;
    int32_t image_address = 0;
    if (read_image_data(image_bytes, count, *state.image, image_address) < count) return false;
    if (image_address != state.position) {
        std::fputs("Fatel Error !!\n", stdout);
        return false;
    }
    for (int j = 0; j < count; ++j)
        state.errors += count_image_errors(chip[j], image_bytes[j], state.position + j, state.mode, L);
    return true;
}

float pass_ratio(int32_t total, int32_t errors) {
    return static_cast<float>(static_cast<double>(total - errors) * 100.0 / total);
}
