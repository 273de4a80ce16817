#include "frequency_trim.h"

#include "block_transfer.h"
#include "writer_protocol.h"

int trim_oscillator(writer_link& link, uint16_t system_info_length, const frequency_meter& measure) {
    const int32_t block_start = system_info_length - kFrequencyBlockBack;
    int32_t code_address = system_info_length - kTrimCodeBack;
    uint8_t block[4];
    move_address(link, block_start);
    int32_t start = block_start;
    int32_t end = code_address;
    if (!read_buffer(link, block, start, end)) return 0;
    if (block[0] != kFrequencyMarker) return kTrimPassed;
    if (static_cast<uint8_t>(~block[2]) != block[1]) return 1;
    const uint8_t code = find_trim_code(block[1], measure);
    if (code == kTargetNotSupported) return 2;
    if (block[3] != kNoTrimCode && block[3] != code) return 3;
    move_address(link, code_address);
    if (!program_buffer(link, &code, code_address, code_address)) return 4;
    move_address(link, code_address);
    uint8_t stored = 0;
    if (!read_buffer(link, &stored, code_address, code_address)) return 5;
    if (stored != code) return 6;
    return kTrimPassed;
}
