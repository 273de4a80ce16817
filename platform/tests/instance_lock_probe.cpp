// Holds the single-instance lock from a process of its own, for the lock
// tests:  instance_lock_probe TEXT [hold]
// prints "acquired", "already running" or "unavailable" on a line of its own
// and exits with 0, 1 or 2; with "hold" it first keeps the lock until its
// standard input ends.
#include <cstdio>
#include <cstring>

#include "single_instance_lock.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "hold") != 0)) {
        std::fprintf(stderr, "instance_lock_probe: TEXT [hold]\n");
        return 3;
    }
    const single_instance_lock lock(argv[1]);
    const char* names[] = {"acquired", "already running", "unavailable"};
    const int result = static_cast<int>(lock.result());
    std::printf("%s\n", names[result]);
    std::fflush(stdout);
    if (argc == 3)
        while (std::getchar() != EOF) {
        }
    return result;
}
