// write_scratch_program: writes the start check fuzz target's program folder
// into an existing empty folder, for the target's seeds.
//
//   write_scratch_program ROOT
#include <cstdio>
#include <exception>

#include "scratch_program.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s root-folder\n", argv[0]);
        return 1;
    }
    try {
        make_scratch_program(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
