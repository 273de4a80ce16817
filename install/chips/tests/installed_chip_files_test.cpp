#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "child_process.h"
#include "image_checksum.h"
#include "image_header.h"
#include "ini_file.h"
#include "pdf_check.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDir = KOVA_DIR;
const fs::path kBin = kDir / "bin";

struct offered {
    std::string code, symbol;
    int32_t size;
    char mode;
    std::string mode_name;
};

// Every device and trigger mode setup.ini offers, read as KovaStudio reads it.
std::vector<offered> offered_pairs() {
    const struct {
        int bit;
        char code;
        const char* name;
    } bits[] = {{0x01, '1', "Key Single"},
                {0x02, '2', "Key Sequential"},
                {0x04, '3', "CPU Serial Pluse Count"},
                {0x08, '4', "CPU Serial Pluse Width"},
                {0x10, '8', "Address Trigger"},
                {0x20, '5', "CPU Serial Command"}};
    const ini_file setup((kDir / "setup.ini").string());
    std::vector<offered> pairs;
    for (const char series : {'Y', 'Z'}) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            const std::string code = {series, digit};
            const std::string symbol = setup.read_string(code, "Symbol", "");
            if (symbol.empty()) continue;
            const int pack = setup.read_integer(code, "Pack", 0);
            const int32_t size = setup.read_integer(code, "Size", 0);
            for (const auto& bit : bits)
                if (pack & bit.bit) pairs.push_back({code, symbol, size, bit.code, bit.name});
        }
    }
    return pairs;
}

std::string key_of(const offered& p) { return std::string{p.code[1], 'x', p.mode}; }

ini_file mode_settings(const std::string& key) { return ini_file((kBin / key / (key + ".ini")).string()); }

int32_t offset_of(const std::string& key) {
    return parse_ini_integer("0x" + mode_settings(key).read_string("Global", "Offset", "")).value_or(0);
}

TEST(InstalledChipFiles, EveryOfferedModeHasItsFilesAndNothingElseIsThere) {
    const std::vector<offered> pairs = offered_pairs();
    ASSERT_GE(pairs.size(), 20u);
    std::set<std::string> expected_folders;
    for (const offered& p : pairs) {
        const fs::path folder = kBin / key_of(p);
        expected_folders.insert(key_of(p));
        EXPECT_TRUE(file_exists(folder / (key_of(p) + ".ini"))) << key_of(p);
        for (char format : {'2', '7'})
            EXPECT_TRUE(file_exists(folder / (p.code + format + p.mode + ".pgm"))) << p.code << format << p.mode;
        EXPECT_TRUE(file_exists(folder / (p.code + "x" + p.mode + ".pdf"))) << p.code << "x" << p.mode;
    }
    std::set<std::string> folders;  // those named like a mode key: digit, "x", one character
    for (const auto& entry : fs::directory_iterator(kBin)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && name.size() == 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
            name[1] == 'x')
            folders.insert(name);
    }
    EXPECT_EQ(folders, expected_folders);
}

TEST(InstalledChipFiles, ModeSettingsGiveEachModeItsOwnOffset) {
    std::map<char, std::set<int32_t>> offsets;
    std::set<std::string> seen;
    for (const offered& p : offered_pairs()) {
        const std::string key = key_of(p);
        if (!seen.insert(key).second) continue;
        const ini_file ini = mode_settings(key);
        const std::string offset = ini.read_string("Global", "Offset", "");
        EXPECT_NE(offset, "600") << key << " hides a reader that falls back to its default";
        EXPECT_GT(offset_of(key), 0) << key << ": " << offset;
        EXPECT_TRUE(offsets[key[0]].insert(offset_of(key)).second) << key << " repeats an Offset of its chip";
        EXPECT_GE(ini.read_integer("Global", "MaxSec", 0), 1) << key;
        const int fixed = ini.read_integer("Global", "Fixed", -1);
        EXPECT_TRUE(fixed == 0 || fixed == 1) << key;
        EXPECT_NE(ini.read_string("Line0", "Cell00", ""), "") << key;
        EXPECT_NE(ini.read_string("Line1", "Cell00", ""), "") << key;
    }
}

TEST(InstalledChipFiles, OneDeviceChangesBetweenFourAndEightGroups) {
    const ini_file single = mode_settings("1x1");
    const ini_file sequential = mode_settings("1x2");
    EXPECT_EQ(sequential.read_integer("Global", "MaxSec", 0), 4);
    EXPECT_EQ(single.read_integer("Global", "MaxSec", 0), 8);
    std::set<char> y1_modes;
    for (const offered& p : offered_pairs())
        if (p.code == "Y1") y1_modes.insert(p.mode);
    EXPECT_TRUE(y1_modes.count('1') && y1_modes.count('2'));
}

// The model each device's templates name, spelled as in a DAT file.
const std::map<std::string, std::string> kModels = {
    {"Y1", "KOVA3k10"}, {"Y2", "KOVA3k21"}, {"Y3", "KOVA3k42"}, {"Z1", "KOVA10"},
    {"Z2", "KOVA21"},   {"Z3", "KOVA42"},   {"Z4", "KOVA85"},   {"Z6", "KOVA341"},
};

TEST(InstalledChipFiles, TemplatesNameTheirModelAndEndAtTheirModesOffset) {
    for (const offered& p : offered_pairs()) {
        for (char format : {'2', '7'}) {
            const std::string name = p.code + format + p.mode + ".pgm";
            const fs::path path = kBin / key_of(p) / name;
            const std::vector<uint8_t> file = read_file(path);
            ASSERT_GE(file.size(), 32u) << name;
            FILE* f = std::fopen(path.c_str(), "rb");
            ASSERT_NE(f, nullptr) << name;
            image_header header;
            const int read = image_read_header(f, header);
            checksum_result result;
            if (read == 1 && image_header_accepted(header)) image_checksum(f, header, result, p.size);
            std::fclose(f);
            ASSERT_EQ(read, 1) << name;
            ASSERT_TRUE(image_header_accepted(header)) << name;

            const int32_t offset = offset_of(key_of(p));
            EXPECT_EQ(static_cast<size_t>(header.header_offset + offset), file.size()) << name;
            const std::string text(file.begin() + 32, file.begin() + std::min<size_t>(file.size(), 32 + 512));
            EXPECT_NE(text.find(kModels.at(p.code)), std::string::npos) << name;
            // Room for the option bytes: plain and blank below the voice data.
            EXPECT_LE(header.cipher_end, offset - 32) << name;
            for (int32_t a = offset - 32; a < offset; ++a)
                EXPECT_EQ(file[static_cast<size_t>(header.header_offset + a)], 0xFF) << name << " at " << a;

            if (p.code[0] == 'Y') {
                EXPECT_EQ(result.level, 2) << name;
                EXPECT_EQ(result.frequency_adjust, 1) << name;
                EXPECT_GE(result.frequency_hz, 5000000) << name;
                EXPECT_LE(result.frequency_hz, 14000000) << name;
            } else {
                EXPECT_EQ(result.level, 1) << name;
            }
        }
    }
}

TEST(InstalledChipFiles, SealedTemplatesVerifyWithQavChk) {
    const fs::path folder = test_folder();
    std::set<std::string> devices;
    for (const offered& p : offered_pairs()) {
        if (!devices.insert(p.code).second) continue;  // one mode per device is enough for the checker
        const std::string name = p.code + "2" + p.mode + ".pgm";
        const fs::path sealed = folder / name;
        fs::copy_file(kBin / key_of(p) / name, sealed);
        FILE* f = std::fopen(sealed.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        image_header header;
        checksum_result result;
        ASSERT_EQ(image_read_header(f, header), 1);
        image_checksum(f, header, result, p.size);
        const uint8_t slot[2] = {static_cast<uint8_t>(result.checksum), static_cast<uint8_t>(result.checksum >> 8)};
        std::fseek(f, header.header_offset + result.system_info_length - 2, SEEK_SET);
        std::fwrite(slot, 1, 2, f);
        std::fclose(f);

        char size[16];
        std::snprintf(size, sizeof size, "%06X", static_cast<unsigned>(p.size));
        const child_result r = run_child((kBin / "qavchk").string(), {sealed.string(), size});
        EXPECT_EQ(r.exit_code, 0) << name << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, "Verify OK")) << name << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, kModels.at(p.code))) << name << "\n" << r.output;
    }
    EXPECT_EQ(devices.size(), kModels.size());
}

TEST(InstalledChipFiles, ApplicationNotesAreSoundPdfsNamingDeviceAndMode) {
    for (const offered& p : offered_pairs()) {
        const fs::path path = kBin / key_of(p) / (p.code + "x" + p.mode + ".pdf");
        const std::string pdf = read_text(path);
        EXPECT_EQ(pdf_structure_problem(pdf), "") << path;
        const std::string text = pdf_page_text(pdf);
        EXPECT_TRUE(contains(text, p.symbol + " in " + p.mode_name + " mode")) << path << "\n" << text;
#ifdef KOVA_QPDF
        const child_result r = run_child(KOVA_QPDF, {"--check", path.string()});
        EXPECT_EQ(r.exit_code, 0) << path << "\n" << r.output << r.error_output;
#endif
    }
#ifndef KOVA_QPDF
    GTEST_SKIP() << "qpdf is not installed: only the cross-reference table was checked";
#endif
}

TEST(InstalledChipFiles, BinFileNamesSurviveTheListsExtensionCut) {
    // The system-file list keeps at most three characters after a name's last ".".
    for (const auto& entry : fs::recursive_directory_iterator(kBin)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        const size_t dot = name.rfind('.');
        if (dot == std::string::npos) continue;
        EXPECT_LE(name.size() - dot - 1, 3u) << entry.path();
    }
}

}  // namespace
