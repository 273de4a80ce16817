#include "files_equal.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

constexpr size_t kChunk = 1024;

}  // namespace

bool files_equal(const std::string& first_path, const std::string& second_path) {
    const file_ptr first(std::fopen(first_path.c_str(), "rb"));
    const file_ptr second(std::fopen(second_path.c_str(), "rb"));
    if (!first || !second) return false;
    char a[kChunk], b[kChunk];
    for (;;) {
        const size_t got_a = std::fread(a, 1, kChunk, first.get());
        const size_t got_b = std::fread(b, 1, kChunk, second.get());
        if (got_a != got_b || std::memcmp(a, b, got_a) != 0) return false;
        if (got_a < kChunk) return std::ferror(first.get()) == 0 && std::ferror(second.get()) == 0;
    }
}
