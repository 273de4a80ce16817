// A fuzz target that checks nothing: it tells on standard error the size of
// each input it is given, so that the replay driver's own test can see which
// inputs were run.
#include <cstdio>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t size) {
    std::fprintf(stderr, "input of %zu bytes\n", size);
    return 0;
}
