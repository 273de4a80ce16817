#include "files_equal.h"

#include "regular_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kChunk = 1024;

}  // namespace

bool files_equal(const std::string& first_path, const std::string& second_path) {
    const owned_file first(std::fopen(first_path.c_str(), "rb"));
    const owned_file second(std::fopen(second_path.c_str(), "rb"));
    if (!first || !second) return false;
    char a[kChunk], b[kChunk];
    for (;;) {
        const size_t got_a = std::fread(a, 1, kChunk, first.get());
        const size_t got_b = std::fread(b, 1, kChunk, second.get());
        if (got_a != got_b || std::memcmp(a, b, got_a) != 0) return false;
        if (got_a < kChunk) return std::ferror(first.get()) == 0 && std::ferror(second.get()) == 0;
    }
}
