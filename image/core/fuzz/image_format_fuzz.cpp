// Fuzz target: the header record, the ranged reader and both checksum
// calculators on one image file. Input: the ROM size R (4 bytes,
// little-endian), then the file.
#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "image_checksum.h"
#include "image_model.h"
#include "image_reader.h"

namespace {

std::string number(int64_t value) { return std::to_string(value); }

int32_t le32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void check_header(FILE* file, const uint8_t* bytes, size_t size, image_header& header) {
    const bool valid = size >= static_cast<size_t>(kImageHeaderSize) && std::memcmp(bytes, "KOVA", 4) == 0;
    KOVA_PROMISE(image_read_header(file, header) == (valid ? 1 : 0), "file of " + number(int64_t(size)) + " bytes");
    if (!valid) return;
    const int16_t offset = static_cast<int16_t>(bytes[6] | bytes[7] << 8);
    KOVA_PROMISE(header.header_offset == offset && header.cipher_start == le32(bytes + 8) &&
                     header.cipher_end == le32(bytes + 12),
                 "fields of the record");
    if (offset >= 0) KOVA_PROMISE(std::ftell(file) == offset, "positioned at the header offset");
}

void check_reader(FILE* file, const image_model& m, kova_fuzz::choices& pick) {
    const image_header& h = m.header;
    const int32_t length = static_cast<int32_t>(std::max<int64_t>(m.rom_length, 0));

    // One request for more than the ROM delivers all of it, and reads on from
    // where the file stood without seeking.
    std::vector<uint8_t> all(static_cast<size_t>(length) + 16, kUntouched);
    std::fseek(file, h.header_offset, SEEK_SET);
    int32_t position = -1;
    const int32_t got = image_read_at(all.data(), length + 8, file, h.header_offset, h.cipher_start,
                                      h.cipher_end, position);
    KOVA_PROMISE(position == 0, "read start " + number(position));
    KOVA_PROMISE(got == length, number(got) + " of " + number(length) + " ROM bytes delivered");
    check_delivered(m, 0, all.data(), got, length + 16);
    KOVA_PROMISE(std::ftell(file) == h.header_offset + got, "file position after the read");

    // Requests of many sizes, each going on where the last one stopped, as
    // the checksum calculators make them. Only a request for less than a
    // block inside the range may deliver nothing before the end.
    std::fseek(file, h.header_offset, SEEK_SET);
    int64_t at = 0;
    uint8_t buffer[kPlainChunk + 16];
    for (bool whole_block = false;;) {
        const int32_t n = whole_block ? 8
                          : pick.next() % 4 == 0 ? static_cast<int32_t>(pick.between(1, kPlainChunk + 8))
                                                 : static_cast<int32_t>(pick.between(1, 16));
        std::memset(buffer, kUntouched, sizeof buffer);
        const int32_t count = image_read(buffer, n, file, h.header_offset, h.cipher_start, h.cipher_end);
        KOVA_PROMISE(count >= 0 && count <= n, number(count) + " delivered for " + number(n));
        check_delivered(m, at, buffer, count, static_cast<int32_t>(sizeof buffer));
        at += count;
        KOVA_PROMISE(std::ftell(file) == h.header_offset + at, "file position after a read at " + number(at));
        if (count > 0) {
            whole_block = false;
            continue;
        }
        if (at >= length) break;
        KOVA_PROMISE(n < 8 && m.enciphered(at), "nothing delivered for " + number(n) + " at " + number(at));
        whole_block = true;
    }
    KOVA_PROMISE(at == length, "requests ended at " + number(at));
}

// The checksum rule worked out on the model.
uint16_t model_checksum(const image_model& m, int L, int32_t rom_size) {
    uint32_t sum = 0;
    for (int a = 0; a < 6; ++a) sum += m.at(a);
    const int64_t end = std::max<int64_t>(L, std::min<int64_t>(rom_size, m.rom_length));
    for (int64_t a = L; a < end; ++a) sum += m.at(a);
    if (rom_size <= kLargestPaddedRom && rom_size > end)
        sum += 0xFFu * static_cast<uint32_t>((rom_size - end) % 0x10000);
    return static_cast<uint16_t>(0x10000 - (sum & 0xFFFF));
}

// R cuts an enciphered block: the calculators stop before it and count the
// rest of it as blank, where the model has its deciphered bytes.
bool size_cuts_a_block(const image_model& m, int32_t rom_size) {
    return m.enciphered(rom_size) && rom_size > m.header.cipher_start &&
           (rom_size - m.header.cipher_start) % 8 != 0 && rom_size <= m.rom_length;
}

void check_checksums(FILE* file, const image_model& m, int32_t rom_size) {
    const image_header& h = m.header;
    checksum_result generated, verified;
    uint16_t stored = 0xFFFF;
    const int generated_ok = image_checksum(file, h, generated, rom_size);
    KOVA_PROMISE(std::ftell(file) == h.header_offset, "QavGen's calculator leaves the file at the ROM");
    const int verified_ok = chk_image_checksum(file, h, verified, rom_size, stored);
    KOVA_PROMISE(std::ftell(file) == h.header_offset, "QavChk's calculator leaves the file at the ROM");

    // Both read the system information alike; bytes the file lacks read as 0xFF.
    const int L = generated.system_info_length;
    KOVA_PROMISE(generated_ok == verified_ok && L == verified.system_info_length &&
                     generated.level == verified.level && generated.frequency_adjust == verified.frequency_adjust,
                 "system information differs between the calculators");
    if (m.first_word_read_whole())
        KOVA_PROMISE(L == m.system_info_length(), "L " + number(L) + " for " + number(m.system_info_length()));
    KOVA_PROMISE(generated.level == (L == 16 ? 1 : L == 44 ? 2 : -1), "level of L " + number(L));
    KOVA_PROMISE(generated_ok == (L >= kMinSystemInfoLength ? 1 : 0), "refusal of L " + number(L));
    if (!generated_ok || !m.keeps_to_the_format(L)) return;

    const bool adjust = L == 44 && m.at(L - 14) == 0xF0 && (m.at(L - 13) ^ m.at(L - 12)) == 0xFF;
    KOVA_PROMISE(generated.frequency_adjust == (adjust ? 1 : 0), "frequency-adjust block");
    if (adjust) KOVA_PROMISE(generated.frequency_hz == m.at(L - 13) * 100000, "frequency");
    KOVA_PROMISE(generated.checksum == verified.checksum, "the calculators disagree");
    const uint16_t slot = m.rom_length >= L ? static_cast<uint16_t>(m.at(L - 2) | m.at(L - 1) << 8) : 0xFFFF;
    KOVA_PROMISE(stored == slot, "stored checksum");
    if (!m.ends_in_a_block() && !size_cuts_a_block(m, rom_size))
        KOVA_PROMISE(generated.checksum == model_checksum(m, L, rom_size), "checksum of R " + number(rom_size));

    // The generated value stored in the slot verifies.
    if (m.rom_length < L) return;
    const uint8_t sealed[2] = {static_cast<uint8_t>(generated.checksum), static_cast<uint8_t>(generated.checksum >> 8)};
    KOVA_PROMISE(std::fseek(file, h.header_offset + L - 2, SEEK_SET) == 0 && std::fwrite(sealed, 1, 2, file) == 2 &&
                     std::fflush(file) == 0,
                 "sealing the image");
    chk_image_checksum(file, h, verified, rom_size, stored);
    KOVA_PROMISE(verified.checksum == stored && stored == generated.checksum, "a sealed image does not verify");
    std::fseek(file, h.header_offset + L - 2, SEEK_SET);
    std::fwrite(&m.rom[static_cast<size_t>(L - 2)], 1, 2, file);
    std::fflush(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int32_t rom_size = le32(data);
    const uint8_t* bytes = data + 4;
    size -= 4;
    FILE* file = open_image_bytes(bytes, size);
    KOVA_PROMISE(file != nullptr, "an image in memory");
    image_header header;
    check_header(file, bytes, size, header);
    const image_model m = model_of(bytes, size);
    if (m.accepted) {
        kova_fuzz::choices pick(data, size + 4);
        check_reader(file, m, pick);
        check_checksums(file, m, rom_size);
        if (m.rom_length > 0)
            check_checksums(file, m, static_cast<int32_t>(std::min<int64_t>(m.rom_length, INT32_MAX)));
    }
    std::fclose(file);
    return 0;
}
