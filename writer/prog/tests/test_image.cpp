#include "test_image.h"

#include "image_checksum.h"
#include "image_header.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

std::string scratch_path() {
    char name[] = KOVA_TEST_TMP "/image-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) throw std::runtime_error("no scratch file");
    ::close(fd);
    return name;
}

}  // namespace

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

test_image make_test_image(const template_spec& spec, int32_t voice_bytes) {
    std::string error;
    test_image image;
    image.file = template_file(spec, error);
    if (image.file.empty()) throw std::runtime_error(error);
    image.plain_rom = template_plain_rom(spec);
    const size_t L = spec.level == 2 ? 44 : 16;
    for (int32_t i = 0; i < voice_bytes; ++i) {
        const uint8_t voice = static_cast<uint8_t>(i * 7 + 3);
        image.file.push_back(voice);
        image.plain_rom.push_back(voice);
    }
    const std::string path = scratch_path();
    write_file(path, image.file);
    FILE* file = std::fopen(path.c_str(), "rb");
    image_header header;
    checksum_result result;
    image_read_header(file, header);
    image_checksum(file, header, result, static_cast<int32_t>(image.plain_rom.size()));
    std::fclose(file);
    std::remove(path.c_str());
    for (size_t k = 0; k < 2; ++k) {
        const uint8_t byte = static_cast<uint8_t>(result.checksum >> (8 * k));
        image.file[spec.header_offset + L - 2 + k] = byte;
        image.plain_rom[L - 2 + k] = byte;
    }
    return image;
}
