#include "image_reader.h"

#include <algorithm>
#include <cstring>

#include "image_cipher.h"

int32_t image_read_at(uint8_t* buffer, int32_t n, FILE* file, int32_t base, int32_t start, int32_t end,
                      int32_t& rom_position) {
    int64_t pos = int64_t{std::ftell(file)} - base;
    rom_position = static_cast<int32_t>(pos);
    int32_t delivered = 0;
    if ((int64_t{end} - start) % kCipherBlock != 0) return 0;

    auto advance = [&](size_t count) {
        n -= static_cast<int32_t>(count);
        delivered += static_cast<int32_t>(count);
        pos += static_cast<int64_t>(count);
    };

    while (n > 0 && pos < start) {
        const size_t chunk = static_cast<size_t>(std::min<int64_t>({n, kPlainChunk, start - pos}));
        const size_t got = std::fread(buffer + delivered, 1, chunk, file);
        advance(got);
        if (got < chunk) return delivered;
    }
    while (n > kCipherBlock - 1 && pos >= start && pos < end) {
        uint8_t scratch[kCipherBlock];
        uint8_t plain[kCipherBlock];
        const size_t got = std::fread(scratch, 1, kCipherBlock, file);
        if (got < kCipherBlock) std::memset(scratch + got, 0, kCipherBlock - got);
        image_decrypt_block(scratch, plain, static_cast<int32_t>(pos + kCipherBlock));
        // Only what the file delivered reaches the buffer: the caller's bytes
        // past it (blank 0xFF for the checksum) stay as they are.
        std::memcpy(buffer + delivered, plain, got);
        advance(got);
        if (got < kCipherBlock) return delivered;
    }
    while (n > 0 && pos >= end) {
        const size_t chunk = static_cast<size_t>(std::min(n, kPlainChunk));
        const size_t got = std::fread(buffer + delivered, 1, chunk, file);
        advance(got);
        if (got < chunk) return delivered;
    }
    return delivered;
}

int32_t image_read(uint8_t* buffer, int32_t n, FILE* file, int32_t base, int32_t start, int32_t end) {
    int32_t rom_position = 0;
    return image_read_at(buffer, n, file, base, start, end, rom_position);
}
