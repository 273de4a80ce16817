#include "image_input.h"

#include "image_reader.h"

int32_t read_image_data(uint8_t* buffer, int32_t count, const image_input& image, int32_t& rom_position) {
    return image_read_at(buffer, count, image.file, image.header.header_offset, image.header.cipher_start,
                         image.header.cipher_end, rom_position);
}

bool seek_image(const image_input& image, int32_t address) {
    return std::fseek(image.file, static_cast<long>(image.header.header_offset) + address, SEEK_SET) == 0;
}
