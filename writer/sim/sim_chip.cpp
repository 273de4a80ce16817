#include "sim_chip.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kKiB = 1024;
constexpr uint8_t kBlank = 0xFF;

constexpr sim_chip_model kModels[] = {
    {"KOVA3k10", true, 0xF9, 0xF1, 32 * kKiB},   {"KOVA3k21", true, 0x09, 0xF2, 64 * kKiB},
    {"KOVA3k42", true, 0x19, 0xF3, 128 * kKiB},  {"KOVA3k85", true, 0x29, 0xF4, 256 * kKiB},
    {"KOVA3k170", true, 0x49, 0xF5, 512 * kKiB}, {"KOVA3k341", true, 0x89, 0xF6, 1024 * kKiB},
    {"KOVA10", false, 0xFF, 0x81, 32 * kKiB},    {"KOVA21", false, 0x00, 0x82, 64 * kKiB},
    {"KOVA42", false, 0x18, 0x83, 128 * kKiB},   {"KOVA85", false, 0x28, 0x84, 256 * kKiB},
    {"KOVA170", false, 0x4A, 0x85, 512 * kKiB},  {"KOVA341", false, 0x8C, 0x86, 1024 * kKiB},
};

}  // namespace

const sim_chip_model* find_sim_chip_model(const std::string& name) {
    for (const sim_chip_model& model : kModels) {
        if (strcasecmp(model.name, name.c_str()) == 0) return &model;
    }
    return nullptr;
}

bool sim_chip_answers_type(const sim_chip_model& model, uint8_t selected_type) {
    // Chip types are selected per series: 0xF1..0xF6 for 3K, 0x81..0x86 for the other.
    const uint8_t first = model.series_3k ? 0xF1 : 0x81;
    return selected_type >= first && selected_type <= first + 5;
}

sim_chip_memory::~sim_chip_memory() {
    if (mapped_) {
        ::munmap(cells_, size_);
    } else {
        delete[] cells_;
    }
}

bool sim_chip_memory::open(size_t size, const std::string& file, std::string& error) {
    size_ = size;
    if (file.empty()) {
        cells_ = new uint8_t[size];
        std::memset(cells_, kBlank, size);
        return true;
    }
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        error = "cannot open the memory file " + file;
        if (fd >= 0) ::close(fd);
        return false;
    }
    void* mapping = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapping == MAP_FAILED) {
        error = "cannot map the memory file " + file;
        return false;
    }
    cells_ = static_cast<uint8_t*>(mapping);
    mapped_ = true;
    const size_t kept = static_cast<size_t>(status.st_size) < size ? static_cast<size_t>(status.st_size) : size;
    std::memset(cells_ + kept, kBlank, size - kept);
    return true;
}
