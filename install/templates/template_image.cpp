#include "template_image.h"

#include <algorithm>
#include <cstring>

#include "image_cipher.h"

namespace {

int system_info_length(const template_spec& spec) { return spec.level == 2 ? 44 : 16; }

std::string check(const template_spec& spec) {
    const int L = system_info_length(spec);
    if (spec.level != 1 && spec.level != 2) return "level must be I or II";
    if (spec.header_offset < 32 || (spec.header_offset - 32) % 2 != 0) return "header offset must be even and at least 32";
    if (spec.offset < L + 32) return "Offset leaves no room for system information and option bytes";
    if (spec.offset > 0x1000000) return "Offset is past the largest ROM (1000000)";
    if (spec.cipher_end < spec.cipher_start || (spec.cipher_end - spec.cipher_start) % 8 != 0)
        return "enciphered range must be a whole number of 8-byte blocks";
    if (spec.cipher_start != spec.cipher_end &&
        (spec.cipher_start < L || spec.cipher_end > spec.offset - 32))
        return "enciphered range must lie between the system information and the option bytes";
    if (spec.frequency_tenths_mhz < 0 || spec.frequency_tenths_mhz > 255) return "frequency out of range";
    return "";
}

}  // namespace

std::vector<uint8_t> template_plain_rom(const template_spec& spec) {
    const int L = system_info_length(spec);
    std::vector<uint8_t> rom(static_cast<size_t>(spec.offset), 0xFF);
    uint32_t state = spec.seed * 2654435761u + 1;
    for (int32_t a = 2; a < spec.offset - 32; ++a) {
        state = state * 1103515245u + 12345u;
        rom[static_cast<size_t>(a)] = static_cast<uint8_t>(state >> 16);
    }
    rom[0] = static_cast<uint8_t>(L / 2);
    rom[1] = 0x00;
    if (spec.level == 2) {
        rom[L - 14] = 0xF0;
        rom[L - 13] = static_cast<uint8_t>(spec.frequency_tenths_mhz);
        rom[L - 12] = static_cast<uint8_t>(~spec.frequency_tenths_mhz);
        rom[L - 11] = 0xFF;  // trim code, filled in on the chip by the writer
    }
    // L-10 to L-7 stay blank: the writer leaves L-10 and L-9 out of its
    // comparisons and accepts only 0x5A (a Slave chip's mark) or 0xFF at L-8.
    for (int a = L - 10; a <= L - 7; ++a) rom[a] = 0xFF;
    rom[L - 2] = 0xFF;  // checksum slot, filled in by QavGen
    rom[L - 1] = 0xFF;
    return rom;
}

std::vector<uint8_t> template_file(const template_spec& spec, std::string& error) {
    error = check(spec);
    if (!error.empty()) return {};
    std::vector<uint8_t> file(32, 0x00);
    file.resize(static_cast<size_t>(spec.header_offset), 0xFF);
    std::memcpy(file.data(), "KOVA", 4);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[6] = static_cast<uint8_t>(spec.header_offset);
    file[7] = static_cast<uint8_t>(static_cast<uint16_t>(spec.header_offset) >> 8);
    put32(8, static_cast<uint32_t>(spec.cipher_start));
    put32(12, static_cast<uint32_t>(spec.cipher_end));

    const std::string rows[] = {spec.model, "Voice chip program template."};
    size_t at = 32;
    for (std::string row : rows) {
        if (at >= file.size()) break;
        // The checker lists the text header in byte pairs and leaves out a
        // pair that holds an 0xFF byte: a blank keeps an odd-length row whole.
        if (row.size() % 2 != 0) row += ' ';
        const size_t n = std::min({row.size(), size_t{64}, file.size() - at});
        std::memcpy(file.data() + at, row.data(), n);
        at += 64;
    }

    std::vector<uint8_t> rom = template_plain_rom(spec);
    for (int32_t a = spec.cipher_start; a < spec.cipher_end; a += 8)
        image_encrypt_block(&rom[static_cast<size_t>(a)], &rom[static_cast<size_t>(a)], a + 8);
    file.insert(file.end(), rom.begin(), rom.end());
    return file;
}

std::string template_verifier_problem(const template_spec& spec) {
    const int L = system_info_length(spec);
    if (spec.cipher_start != spec.cipher_end && spec.cipher_start == L && L % 8 != 0)
        return "enciphered range starts at " + std::to_string(L) +
               ", the end of the system information, which QavChk cannot verify";
    return "";
}
