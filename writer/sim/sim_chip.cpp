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
    {.name = "KOVA3k10", .series_3k = true, .detect_id = 0xF9, .select_id = 0xF1, .size = 32 * kKiB},
    {.name = "KOVA3k21", .series_3k = true, .detect_id = 0x09, .select_id = 0xF2, .size = 64 * kKiB},
    {.name = "KOVA3k42", .series_3k = true, .detect_id = 0x19, .select_id = 0xF3, .size = 128 * kKiB},
    {.name = "KOVA3k85", .series_3k = true, .detect_id = 0x29, .select_id = 0xF4, .size = 256 * kKiB},
    {.name = "KOVA3k170", .series_3k = true, .detect_id = 0x49, .select_id = 0xF5, .size = 512 * kKiB},
    {.name = "KOVA3k341", .series_3k = true, .detect_id = 0x89, .select_id = 0xF6, .size = 1024 * kKiB},
    {.name = "KOVA10", .series_3k = false, .detect_id = 0xFF, .select_id = 0x81, .size = 32 * kKiB},
    {.name = "KOVA21", .series_3k = false, .detect_id = 0x00, .select_id = 0x82, .size = 64 * kKiB},
    {.name = "KOVA42", .series_3k = false, .detect_id = 0x18, .select_id = 0x83, .size = 128 * kKiB},
    {.name = "KOVA85", .series_3k = false, .detect_id = 0x28, .select_id = 0x84, .size = 256 * kKiB},
    {.name = "KOVA170", .series_3k = false, .detect_id = 0x4A, .select_id = 0x85, .size = 512 * kKiB},
    {.name = "KOVA341", .series_3k = false, .detect_id = 0x8C, .select_id = 0x86, .size = 1024 * kKiB},
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
