#include "image_checksum.h"

#include <cstring>

#include "image_reader.h"

namespace {

enum class calculator { generate, verify };

// Reads n bytes at ROM address rom through the reader. Only the bytes it
// delivered count: the rest, past the end of the file, read as a blank chip's
// 0xFF.
void read_rom(FILE* file, const image_header& h, int64_t rom, uint8_t* buffer, int32_t n) {
    int32_t got = 0;
    if (std::fseek(file, static_cast<long>(h.header_offset + rom), SEEK_SET) == 0)
        got = image_read(buffer, n, file, h.header_offset, h.cipher_start, h.cipher_end);
    std::memset(buffer + got, 0xFF, static_cast<size_t>(n - got));
}

int compute(FILE* file, const image_header& h, checksum_result& result, int32_t rom_size, calculator kind,
            uint16_t* stored_checksum) {
    uint8_t block[8];
    read_rom(file, h, 0, block, 8);
    const int L = (((block[0] | block[1] << 8) & 0x3FFF)) * 2;
    result.system_info_length = static_cast<uint16_t>(L);
    result.level = L == 16 ? 1 : L == 44 ? 2 : -1;
    if (L < kMinSystemInfoLength) {
        std::fseek(file, h.header_offset, SEEK_SET);
        return 0;
    }

    read_rom(file, h, L - 14, block, 8);
    result.frequency_adjust = 0;
    if (result.level == 2 && block[0] == 0xF0 && (block[1] ^ block[2]) == 0xFF) {
        result.frequency_adjust = 1;
        result.frequency_hz = block[1] * 100000;
        if (kind == calculator::generate)
            std::printf("System Information Level II define frequency Adj to %d.%d MHz.\n", block[1] / 10,
                        block[1] % 10);
    }

    uint16_t sum = 0;
    read_rom(file, h, 0, block, 8);
    for (int i = 0; i < 6; ++i) sum = static_cast<uint16_t>(sum + block[i]);

    if (kind == calculator::verify) {
        uint8_t slot[2];
        if (std::fseek(file, h.header_offset + L - 2, SEEK_SET) == 0 && std::fread(slot, 1, 2, file) == 2)
            *stored_checksum = static_cast<uint16_t>(slot[0] | slot[1] << 8);
    }

    int64_t p = L;
    std::fseek(file, h.header_offset + L, SEEK_SET);
    uint8_t buffer[kPlainChunk];
    bool first = true;
    for (;;) {
        int64_t n = rom_size < p + kPlainChunk ? rom_size - p : kPlainChunk;
        if (n <= 0) break;
        // QavChk re-aligns to a multiple of 8 after a system_info whose length
        // is not one, so every later read starts on a cipher block.
        if (kind == calculator::verify && first && L % 8 != 0 && L % 8 < n) n = L % 8;
        first = false;
        const int32_t got = image_read(buffer, static_cast<int32_t>(n), file, h.header_offset, h.cipher_start,
                                       h.cipher_end);
        for (int32_t i = 0; i < got; ++i) sum = static_cast<uint16_t>(sum + buffer[i]);
        p += got;
        if (got == 0) break;
    }
    if (rom_size <= kLargestPaddedRom && p < rom_size)
        sum = static_cast<uint16_t>(sum + (0xFF * ((rom_size - p) % 0x10000)));

    result.checksum = static_cast<uint16_t>(0x10000 - sum);
    std::fseek(file, h.header_offset, SEEK_SET);
    return 1;
}

}  // namespace

int image_checksum(FILE* file, const image_header& header, checksum_result& result, int32_t rom_size) {
    return compute(file, header, result, rom_size, calculator::generate, nullptr);
}

int chk_image_checksum(FILE* file, const image_header& header, checksum_result& result, int32_t rom_size,
                       uint16_t& stored_checksum) {
    return compute(file, header, result, rom_size, calculator::verify, &stored_checksum);
}
