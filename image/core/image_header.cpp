#include "image_header.h"

#include <cstring>

namespace {

int32_t le32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

image_header image_header_decode(const uint8_t raw[kImageHeaderSize]) {
    image_header header;
    std::memcpy(header.raw, raw, kImageHeaderSize);
    header.header_offset = static_cast<int16_t>(static_cast<uint16_t>(raw[6] | raw[7] << 8));
    header.cipher_start = le32(raw + 8);
    header.cipher_end = le32(raw + 12);
    return header;
}

int image_read_header(FILE* file, image_header& header) {
    uint8_t raw[kImageHeaderSize];
    if (std::fseek(file, 0, SEEK_SET) != 0) return 0;
    if (std::fread(raw, 1, sizeof raw, file) != sizeof raw) return 0;
    header = image_header_decode(raw);
    if (std::memcmp(raw, "KOVA", 4) != 0) return 0;
    std::fseek(file, header.header_offset, SEEK_SET);
    return 1;
}

bool image_header_accepted(const image_header& header) {
    const int64_t length = int64_t{header.cipher_end} - header.cipher_start;
    return length % 8 == 0 && header.cipher_start >= 0 &&
           header.header_offset >= kImageHeaderSize;
}
