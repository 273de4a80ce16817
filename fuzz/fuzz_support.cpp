#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kova_fuzz {

namespace fs = std::filesystem;

void broken(const char* file, int line, const char* condition, const std::string& detail) {
    std::fprintf(stderr, "\nbroken promise at %s:%d: %s\n  %s\n", file, line, condition, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

namespace {

// Removes the scratch folder when the process ends normally.
struct scratch_owner {
    fs::path folder;
    ~scratch_owner() {
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }
};

}  // namespace

const fs::path& scratch_folder(const std::string& name) {
    static scratch_owner owner;
    if (owner.folder.empty()) {
        const char* root = std::getenv("KOVA_FUZZ_SCRATCH");
        const fs::path base = root && *root ? fs::path(root) : fs::temp_directory_path() / "kova-fuzz";
        owner.folder = base / (name + "-" + std::to_string(::getpid()));
        fs::remove_all(owner.folder);
        fs::create_directories(owner.folder);
    }
    return owner.folder;
}

void empty_folder(const fs::path& folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
}

void write_file(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) broken(__FILE__, __LINE__, "write_file", "cannot write " + path.string());
}

void write_file(const fs::path& path, const std::vector<uint8_t>& content) {
    write_file(path, content.data(), content.size());
}

std::vector<uint8_t> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

choices::choices(const uint8_t* data, size_t size) : state_(0x9E3779B97F4A7C15ull) {
    for (size_t i = 0; i < size; ++i) state_ = (state_ ^ data[i]) * 0x100000001B3ull;
}

uint32_t choices::next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state_ >> 33);
}

}  // namespace kova_fuzz
