// Builds image templates: the header record, the text header naming the chip
// model, and the ROM image up to the voice-data start with its system
// information, a chip program and an enciphered range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct template_spec {
    std::string model = "KOVA3k10";  // chip model name for the text header
    int level = 1;                   // 1: 16-byte system information; 2: 44 bytes with a frequency-adjust block
    int frequency_tenths_mhz = 50;   // level II target frequency in 0.1 MHz
    int32_t offset = 0x1000;         // ROM address where the voice data starts (the template's ROM length)
    int32_t cipher_start = 0x100;    // enciphered range [cipher_start, cipher_end)
    int32_t cipher_end = 0x200;
    int16_t header_offset = 0x200;   // file offset of ROM address 0
    uint32_t seed = 1;               // seeds the chip-program bytes
};

// The plain ROM part of the template (Offset bytes): what a chip holds after
// programming, before voice data and option bytes are added.
std::vector<uint8_t> template_plain_rom(const template_spec& spec);

// The whole template file, the range enciphered. Empty with a message in
// `error` when the description is not a sound template.
std::vector<uint8_t> template_file(const template_spec& spec, std::string& error);

// Empty when QavChk can verify the images made from this template, else the
// reason. Its checksum re-aligns the first read after the system information
// to a multiple of 8; when a non-empty enciphered range starts right at an
// unaligned end of the system information (level II: 44), that read gets no
// whole block and the image never verifies. template_file still makes such a
// template, so that tests can show the checker's behaviour.
std::string template_verifier_problem(const template_spec& spec);
