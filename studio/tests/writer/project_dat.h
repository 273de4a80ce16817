// DAT images for the writer-page tests, made the way a compile makes them: WAV
// files of computed sounds, the encoder script and voice table, tonepack, the
// link script and qavgen, all run in a program folder of the test's own. The
// image's ROM can be read back deciphered, to compare a chip with it, and the
// image checked by QavChk as KovaStudio checks it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_image.h"  // deciphered_rom

struct project_dat_shape {
    std::string device_code = "Y1";      // picks the chip folder, template and option bytes
    std::string device_text = "KOVA3K10";
    int32_t device_size = 0x8000;
    std::string mode_code = "2";         // trigger mode
    int compression_index = 0;           // 0 ADPCM, 1 u-law
    int32_t sound_samples = 6000;        // samples of each of the two sounds (8000 Hz)
};

// Builds the image at `dat_path` from the program folder (ending in "/"). Empty
// on success, else what failed.
std::string make_project_dat(const std::string& program_folder, const project_dat_shape& shape,
                             const std::string& dat_path);

// The length of the ROM image's system information: its first word's low 14 bits, times 2.
int system_info_length(const std::vector<uint8_t>& rom);

// The real checker run on a DAT image for a ROM size text: its exit code and the checksum of its result line.
struct checker_verdict {
    int exit_code = -1;
    std::string checksum;  // "HHHH" from "Check Sum: [HHHH] Verify OK.", "" when none
};
checker_verdict check_image(const std::string& dat_path, const std::string& rom_size);
