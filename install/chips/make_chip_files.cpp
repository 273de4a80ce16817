// make_chip_files: writes the per-chip folders of a program folder's bin/ for
// the devices and trigger modes its setup.ini offers.
//
//   make_chip_files SETUP_INI BIN_FOLDER
#include <cstdio>
#include <string>

#include "chip_files.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: %s setup.ini bin-folder\n", argv[0]);
        return 1;
    }
    std::string error;
    if (!make_chip_files(argv[1], argv[2], error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
