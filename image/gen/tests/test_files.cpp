#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string test_folder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    const fs::path folder = fs::path(KOVA_TEST_TMP) / "qavgen" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

void write_file(const std::string& path, const bytes& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}

void write_text(const std::string& path, const std::string& text) { write_file(path, bytes(text.begin(), text.end())); }

bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string read_text(const std::string& path) {
    const bytes content = read_file(path);
    return std::string(content.begin(), content.end());
}

bool file_exists(const std::string& path) { return fs::exists(path); }

bytes write_template(const std::string& path, const template_spec& spec) {
    std::string error;
    bytes content = template_file(spec, error);
    EXPECT_EQ(error, "");
    write_file(path, content);
    return content;
}

bytes voice_bytes(size_t count, uint8_t seed) {
    bytes voice(count);
    for (size_t i = 0; i < count; ++i) voice[i] = static_cast<uint8_t>((i * 31 + seed) % 251);
    return voice;
}

uint16_t expected_checksum(const bytes& rom, int32_t rom_size) {
    const int L = (((rom[0] | rom[1] << 8) & 0x3FFF)) * 2;
    uint16_t sum = 0;
    for (int32_t a = 0; a < rom_size; ++a) {
        if (a >= 6 && a < L) continue;
        sum = static_cast<uint16_t>(sum + (a < static_cast<int32_t>(rom.size()) ? rom[static_cast<size_t>(a)] : 0xFF));
    }
    return static_cast<uint16_t>(0x10000 - sum);
}

uint16_t stored_checksum(const bytes& image, int32_t header_offset, int system_info_length) {
    const size_t at = static_cast<size_t>(header_offset + system_info_length - 2);
    return static_cast<uint16_t>(image.at(at) | image.at(at + 1) << 8);
}
