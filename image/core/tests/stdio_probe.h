// Records the fread and fseek calls of the code under test. The test program
// is linked with --wrap=fread,--wrap=fseek so that every such call passes here.
#pragma once

#include <cstddef>
#include <vector>

struct stdio_record {
    std::vector<size_t> reads;  // requested sizes, in order
    int seeks = 0;
};

// Starts recording into a fresh record; recording stops when it is destroyed.
class stdio_probe {
public:
    stdio_probe();
    ~stdio_probe();
    const stdio_record& record() const;
};
