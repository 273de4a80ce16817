#include "blank_pair_write_test.h"

#include "writer_protocol.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t kBlockBytes = 1024;
constexpr uint8_t kBlank = 0xFF;
constexpr uint8_t kFirstPattern = 0x55;
constexpr uint8_t kLastPattern = 0xAA;

struct blank_pair {
    int32_t first = -1;
    int32_t last = -1;
};

// The first and the last 0xFF byte of the range; the search ends with the file.
blank_pair find_blank_pair(FILE* file, int32_t first_offset, int32_t last_offset) {
    blank_pair found;
    if (file == nullptr || first_offset < 0 || last_offset < first_offset) return found;
    if (std::fseek(file, first_offset, SEEK_SET) != 0) return found;
    std::array<uint8_t, kBlockBytes> bytes;
    for (int32_t offset = first_offset; offset <= last_offset;) {
        const int32_t want = std::min(kBlockBytes, last_offset - offset + 1);
        const int32_t got = static_cast<int32_t>(std::fread(bytes.data(), 1, static_cast<size_t>(want), file));
        for (int32_t i = 0; i < got; ++i) {
            if (bytes[i] != kBlank) continue;
            if (found.first < 0) found.first = offset + i;
            found.last = offset + i;
        }
        if (got < want) break;
        offset += got;
    }
    return found;
}

// Programs the value at the address and reads it back; true when it reads back.
bool write_and_read_back(writer_link& link, int32_t address, uint8_t value, FILE* log) {
    // set_address sends nothing for address 0, so every move starts from a reset.
    move_address(link, address);
    write_byte(link, value);
    move_address(link, address);
    const uint8_t read_back = read_byte(link);
    const char* format = "     Write to %06x with %02Xh,and read back value is %02Xh\n";
    std::printf(format, address, value, read_back);
    if (log != nullptr) std::fprintf(log, format, address, value, read_back);
    return read_back == value;
}

}  // namespace

bool blank_pair_write_test(writer_link& link, FILE* file, int32_t first_offset, int32_t last_offset, FILE* log,
                           float& ratio) {
    ratio = 0;
    const blank_pair pair = find_blank_pair(file, first_offset, last_offset);
    if (pair.first < 0 || pair.first == pair.last) {
        std::fputs("\n     Cannot find two blank address for program test.", stdout);
        return false;
    }
    std::printf("\n     Find two loaction for write test <%06X>,<%06X>\n", pair.first, pair.last);
    int right = 0;
    if (write_and_read_back(link, pair.first, kFirstPattern, log)) ++right;
    if (write_and_read_back(link, pair.last, kLastPattern, log)) ++right;
    ratio = static_cast<float>(right * 100.0 / 2);
    return right == 2;
}
