// Writes writer firmware given as an Intel HEX text file through the boot
// loader.
#pragma once

#include "boot_loader.h"

#include <cstdio>

// "0".."9" give 0..9, letters of either case 10..35, anything else 0.
int hex_digit_value(char c);

// Erases the application area, writes the file's data records that fall into
// it as 16-byte blocks (unset bytes 0xFF), repeats the last block as the final
// write and starts the application. 0 when every write succeeded, else -1.
int load_hex_firmware(boot_loader& loader, std::FILE* hex_file);
