// make_language_file: writes the English language file.
//
//   make_language_file OUT.ini
#include <cstdio>
#include <string>

#include "language_file.h"
#include "generated_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s out.ini\n", argv[0]);
        return 1;
    }
    std::string error;
    if (!write_output_file(argv[1], english_language_file(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
