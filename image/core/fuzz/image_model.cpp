#include "image_model.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "image_cipher.h"

uint8_t image_model::at(int64_t address) const {
    return address >= 0 && address < static_cast<int64_t>(rom.size()) ? rom[static_cast<size_t>(address)] : 0xFF;
}

bool image_model::enciphered(int64_t address) const {
    return address >= header.cipher_start && address < header.cipher_end;
}

bool image_model::ends_in_a_block() const {
    return rom_length > 0 && enciphered(rom_length) && (rom_length - header.cipher_start) % kCipherBlock != 0;
}

int image_model::system_info_length() const { return ((at(0) | at(1) << 8) & 0x3FFF) * 2; }

bool image_model::first_word_read_whole() const {
    return header.cipher_end <= header.cipher_start || header.cipher_start != 1;
}

bool image_model::keeps_to_the_format(int L) const {
    return header.cipher_end <= header.cipher_start || header.cipher_start > L ||
           (header.cipher_start == L && L % 8 == 0);
}

void check_delivered(const image_model& m, int64_t from, const uint8_t* buffer, int32_t got, int32_t room) {
    for (int32_t i = 0; i < got; ++i)
        KOVA_PROMISE(buffer[i] == m.at(from + i), "ROM byte " + std::to_string(from + i));
    for (int32_t i = got; i < room; ++i)
        KOVA_PROMISE(buffer[i] == kUntouched,
                     "byte " + std::to_string(i) + " past the " + std::to_string(got) + " delivered from " +
                         std::to_string(from));
}

image_model model_of(const uint8_t* file, size_t size) {
    image_model model;
    if (size < static_cast<size_t>(kImageHeaderSize) || std::memcmp(file, "KOVA", 4) != 0) return model;
    model.header = image_header_decode(file);
    model.accepted = image_header_accepted(model.header);
    if (!model.accepted) return model;
    const int64_t base = model.header.header_offset;
    model.rom_length = static_cast<int64_t>(size) - base;
    if (model.rom_length <= 0) return model;
    model.rom.assign(file + base, file + size);
    const int64_t start = model.header.cipher_start;
    const int64_t end = std::min<int64_t>(model.header.cipher_end, model.rom_length);
    for (int64_t block = start; block < end; block += kCipherBlock) {
        uint8_t stored[kCipherBlock] = {};
        uint8_t plain[kCipherBlock];
        const int64_t present = std::min<int64_t>(kCipherBlock, model.rom_length - block);
        std::memcpy(stored, file + base + block, static_cast<size_t>(present));
        image_decrypt_block(stored, plain, static_cast<int32_t>(block + kCipherBlock));
        std::memcpy(model.rom.data() + block, plain, static_cast<size_t>(present));
    }
    return model;
}

FILE* open_image_bytes(const uint8_t* file, size_t size) {
    const int fd = ::memfd_create("image", 0);
    if (fd < 0) return nullptr;
    if (::write(fd, file, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return nullptr;
    }
    FILE* stream = ::fdopen(fd, "r+b");
    if (!stream) ::close(fd);
    return stream;
}
