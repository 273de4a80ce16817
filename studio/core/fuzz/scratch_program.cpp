#include "scratch_program.h"

#include "fuzz_support.h"

#include <sys/stat.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> bytes(size_t count, unsigned step) {
    std::vector<uint8_t> content(count);
    for (size_t i = 0; i < count; ++i) content[i] = static_cast<uint8_t>(i * step % 251);
    return content;
}

void write(const fs::path& path, const std::vector<uint8_t>& content) { kova_fuzz::write_file(path, content); }

void write(const fs::path& path, const std::string& text) {
    kova_fuzz::write_file(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

void make_scratch_program(const fs::path& root) {
    const fs::path program = root / kScratchProgramName, bin = program / "bin";
    fs::create_directories(bin / "1x2");
    fs::create_directories(bin / "d.x");
    write(bin / "Play.wav", bytes(421, 7));
    write(bin / "qavgen", bytes(300, 13));
    write(bin / "1x2" / "1x2.ini", "[Global]\r\nOffset=4C0\r\n");
    write(bin / "1x2" / "Y122.pgm", bytes(64, 31));
    write(bin / "empty.txt", std::string());
    if (::mkfifo((bin / "pipe").c_str(), 0600) != 0)
        throw std::runtime_error("cannot make the pipe in " + bin.string());
    write(program / "setup.ini", "[System]\r\nSysChk=1\r\n");
    write(root / "top.txt", bytes(50, 3));
}
