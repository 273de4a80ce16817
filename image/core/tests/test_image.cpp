#include "test_image.h"

#include <stdexcept>
#include <string>

#include "image_checksum.h"
#include "image_header.h"
#include "image_reader.h"

test_image make_test_image(const template_spec& spec, size_t voice_bytes) {
    std::string error;
    test_image image;
    image.file = template_file(spec, error);
    if (!error.empty()) throw std::invalid_argument(error);
    image.rom = template_plain_rom(spec);
    image.base = spec.header_offset;
    for (size_t i = 0; i < voice_bytes; ++i) {
        const auto value = static_cast<uint8_t>(i * 7 + 3);
        image.file.push_back(value);
        image.rom.push_back(value);
    }
    return image;
}

void set_rom_byte(test_image& image, int32_t address, uint8_t value) {
    image.rom.at(static_cast<size_t>(address)) = value;
    image.file.at(static_cast<size_t>(image.base + address)) = value;
}

void put_header_fields(std::vector<uint8_t>& file, int16_t header_offset, int32_t cipher_start,
                       int32_t cipher_end) {
    file.at(6) = static_cast<uint8_t>(header_offset);
    file.at(7) = static_cast<uint8_t>(static_cast<uint16_t>(header_offset) >> 8);
    for (int i = 0; i < 4; ++i) {
        file.at(8 + i) = static_cast<uint8_t>(static_cast<uint32_t>(cipher_start) >> (8 * i));
        file.at(12 + i) = static_cast<uint8_t>(static_cast<uint32_t>(cipher_end) >> (8 * i));
    }
}

uint16_t expected_checksum(const std::vector<uint8_t>& rom, int L, int32_t rom_size) {
    uint32_t sum = 0;
    auto byte_at = [&](int32_t a) -> int {
        return static_cast<size_t>(a) < rom.size() ? rom[static_cast<size_t>(a)] : 0xFF;
    };
    for (int32_t a = 0; a < 6; ++a) sum += byte_at(a);
    for (int32_t a = L; a < rom_size; ++a) sum += byte_at(a);
    return static_cast<uint16_t>(0x10000 - (sum & 0xFFFF));
}

void seal_image(test_image& image, int32_t rom_size) {
    FILE* file = open_bytes(image.file);
    image_header header;
    checksum_result result;
    const bool ok = image_read_header(file, header) && image_checksum(file, header, result, rom_size);
    std::fclose(file);
    if (!ok) throw std::invalid_argument("image cannot be sealed");
    const int L = result.system_info_length;
    set_rom_byte(image, L - 2, static_cast<uint8_t>(result.checksum));
    set_rom_byte(image, L - 1, static_cast<uint8_t>(result.checksum >> 8));
}

test_image make_sealed_image(const template_spec& spec, size_t voice_bytes) {
    test_image image = make_test_image(spec, voice_bytes);
    seal_image(image, static_cast<int32_t>(image.rom.size()));
    return image;
}

FILE* open_bytes(std::vector<uint8_t>& bytes) {
    // fmemopen refuses a zero size; an empty image is an empty temporary file.
    FILE* file = bytes.empty() ? std::tmpfile() : fmemopen(bytes.data(), bytes.size(), "r");
    if (!file) throw std::runtime_error("cannot open a stream over the bytes");
    return file;
}

std::vector<uint8_t> deciphered_rom(const std::string& dat_path) {
    std::vector<uint8_t> rom;
    FILE* file = std::fopen(dat_path.c_str(), "rb");
    if (file == nullptr) return rom;
    image_header header;
    if (image_read_header(file, header)) {
        uint8_t block[kPlainChunk];
        for (int32_t got; (got = image_read(block, kPlainChunk, file, header.header_offset, header.cipher_start,
                                            header.cipher_end)) > 0;) {
            rom.insert(rom.end(), block, block + got);
        }
    }
    std::fclose(file);
    return rom;
}
