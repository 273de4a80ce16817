#include "wave_header.h"

#include <cstdio>

#include "regular_file.h"

namespace {

constexpr size_t kCheckedLength = 36;

struct expected_bytes {
    size_t offset;
    const char* bytes;
    size_t length;
};

constexpr expected_bytes kExpected[] = {
    {0, "RIFF", 4}, {8, "WAVE", 4}, {12, "fmt ", 4}, {20, "\x01\x00", 2}, {22, "\x01\x00", 2}, {34, "\x08\x00", 2},
};

constexpr int checked_bytes() {
    int count = 0;
    for (const expected_bytes& field : kExpected) count += static_cast<int>(field.length);
    return count;
}

// Up to `length` bytes from `offset`; fewer when the file is shorter, none when it cannot be read.
size_t read_at(const std::string& path, long offset, unsigned char* bytes, size_t length) {
    const owned_file file(open_regular_file(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), offset, SEEK_SET) != 0) return 0;
    return std::fread(bytes, 1, length, file.get());
}

uint32_t little_endian_32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// The four bytes at offset; nothing when the file ends sooner or cannot be read.
bool read_field(const std::string& path, long offset, uint32_t& value) {
    unsigned char bytes[4];
    if (read_at(path, offset, bytes, sizeof bytes) != sizeof bytes) return false;
    value = little_endian_32(bytes);
    return true;
}

}  // namespace

int check_wave_format(const std::string& path) {
    unsigned char header[kCheckedLength];
    const size_t available = read_at(path, 0, header, sizeof header);
    if (available == 0) return checked_bytes();
    int differing = 0;
    for (const expected_bytes& field : kExpected) {
        for (size_t i = 0; i < field.length; ++i) {
            const size_t at = field.offset + i;
            if (at >= available || header[at] != static_cast<unsigned char>(field.bytes[i])) ++differing;
        }
    }
    return differing;
}

int32_t wave_sample_rate(const std::string& path) {
    uint32_t value = 0;
    return read_field(path, 24, value) ? static_cast<int32_t>(value) : 0;
}

uint32_t wave_data_size(const std::string& path) {
    uint32_t value = 0;
    return read_field(path, 40, value) ? value : 0;
}

uint64_t compressed_size(uint64_t data_size, int compression_index) {
    switch (compression_index) {
        case 0: return data_size / 8 * 4 + 4;
        case 1: {
            const uint64_t size = data_size / 8 * 5 + 5;
            // 9 is added, not rounded up to the next multiple of 9.
            return size % 9 == 0 ? size : size + 9;
        }
        default: return data_size;
    }
}
