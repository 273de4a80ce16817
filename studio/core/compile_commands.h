// The command lines of the child programs that the compile pipeline and the
// checksum query run, each path quoted as one argument and followed by a blank.
#pragma once

#include <cstdint>
#include <string>

// The ROM size as the image checker takes it: at least six upper-case
// hexadecimal digits (0x8000 gives "008000"), a negative size in 32-bit two's
// complement (-1, no device, gives "FFFFFFFF").
std::string rom_size_text(int32_t rom_size);

// The encoder: bin/tonepack with temp/Script.txt and temp/Script.mf0.
std::string encoder_command_line(const std::string& program_folder);

// The image builder: bin/qavgen with temp/result.lns, the log temp/QavGen.log
// and warnings on ("+w").
std::string image_builder_command_line(const std::string& program_folder);

// The image checker: bin/qavchk with the DAT file, the ROM size text and the
// report temp/temp.csm.
std::string image_checker_command_line(const std::string& program_folder, const std::string& dat_path,
                                       const std::string& rom_size);
