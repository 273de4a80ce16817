#include "image_input.h"

#include "image_cipher.h"
#include "image_reader.h"

#include <algorithm>
#include <cstring>

namespace {

bool in_cipher_range(const image_header& header, int64_t position) {
    return position >= header.cipher_start && position < header.cipher_end;
}

// Reads the enciphered block that holds `position` (the file standing
// anywhere) and delivers up to `wanted` of its plain bytes from `position` on;
// the file is left just after them. The number delivered.
int32_t read_within_block(uint8_t* buffer, int32_t wanted, const image_input& image, int64_t position) {
    const image_header& header = image.header;
    const int64_t block = position - (position - header.cipher_start) % kCipherBlock;
    uint8_t plain[kCipherBlock];
    int32_t unused = 0;
    if (std::fseek(image.file, static_cast<long>(header.header_offset + block), SEEK_SET) != 0) return 0;
    const int32_t got = image_read_at(plain, kCipherBlock, image.file, header.header_offset, header.cipher_start,
                                      header.cipher_end, unused);
    const int32_t skip = static_cast<int32_t>(position - block);
    const int32_t taken = std::min(got - skip, wanted);
    if (taken <= 0) return 0;
    std::memcpy(buffer, plain + skip, static_cast<size_t>(taken));
    std::fseek(image.file, static_cast<long>(header.header_offset + position + taken), SEEK_SET);
    return taken;
}

}  // namespace

// The ranged reader delivers whole enciphered blocks only: it stops before a
// block of which fewer than 8 bytes are wanted, and it must start on a block
// boundary. A transfer block of 48 bytes meets an enciphered range that does
// not start on a multiple of 8 in the middle of a block, so such a block is
// deciphered whole here and only the wanted part is delivered.
int32_t read_image_data(uint8_t* buffer, int32_t count, const image_input& image, int32_t& rom_position) {
    const image_header& header = image.header;
    int64_t position = int64_t{std::ftell(image.file)} - header.header_offset;
    rom_position = static_cast<int32_t>(position);
    int32_t delivered = 0;
    while (delivered < count) {
        const int32_t wanted = count - delivered;
        const bool partial_block = in_cipher_range(header, position) &&
                                   ((position - header.cipher_start) % kCipherBlock != 0 || wanted < kCipherBlock);
        int32_t got = 0;
        if (partial_block) {
            got = read_within_block(buffer + delivered, wanted, image, position);
        } else {
            int32_t unused = 0;
            got = image_read_at(buffer + delivered, wanted, image.file, header.header_offset, header.cipher_start,
                                header.cipher_end, unused);
        }
        if (got <= 0) break;
        delivered += got;
        position += got;
    }
    return delivered;
}

bool seek_image(const image_input& image, int32_t address) {
    return std::fseek(image.file, static_cast<long>(image.header.header_offset) + address, SEEK_SET) == 0;
}
