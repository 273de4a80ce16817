#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <tuple>

#include "ini_file.h"
#include "test_files.h"

namespace {

const std::string kDir = KOVA_DIR;
const ini_file kSetup(kDir + "/setup.ini");

TEST(SetupIni, SystemSectionNamesFilesThatExist) {
    ASSERT_TRUE(file_exists(kDir + "/setup.ini"));
    EXPECT_TRUE(kSetup.read_bool("System", "SysChk", false));
    EXPECT_FALSE(kSetup.read_bool("System", "PrtSysFail", true));
    EXPECT_FALSE(kSetup.read_bool("System", "DbgMode", true));
    EXPECT_NE(kSetup.read_string("System", "SwVer", ""), "");

    const std::string language = kSetup.read_string("System", "Language", "");
    EXPECT_TRUE(file_exists(kDir + "/Language/" + language)) << language;

    // The start form runs the updater named after FwVer.
    const std::string fw = kSetup.read_string("System", "FwVer", "");
    EXPECT_EQ(fw, KOVA_UPDATER_FW_VER);
    struct stat info {};
    ASSERT_EQ(stat((kDir + "/bin/QavUpdate" + fw).c_str(), &info), 0) << fw;
    EXPECT_TRUE(info.st_mode & S_IXUSR);
}

struct device {
    std::string code, symbol;
    int32_t size;
};

TEST(SetupIni, OffersTheSampleDevicesWithTheirChipSizes) {
    const std::vector<device> expected = {
        {"Y1", "KOVA3K10", 0x8000},  {"Y2", "KOVA3K21", 0x10000}, {"Y3", "KOVA3K42", 0x20000},
        {"Z1", "KOVA10", 0x8000},    {"Z2", "KOVA21", 0x10000},   {"Z3", "KOVA42", 0x20000},
        {"Z4", "KOVA85", 0x40000},   {"Z6", "KOVA341", 0x100000},
    };
    std::vector<device> found;
    for (const char series : {'Y', 'Z'}) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            const std::string code = {series, digit};
            const std::string symbol = kSetup.read_string(code, "Symbol", "");
            if (!symbol.empty()) found.push_back({code, symbol, kSetup.read_integer(code, "Size", 0)});
        }
    }
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].code, expected[i].code);
        EXPECT_EQ(found[i].symbol, expected[i].symbol);
        EXPECT_EQ(found[i].size, expected[i].size) << expected[i].code;
    }
}

TEST(SetupIni, OutputTypesAndModesDifferBetweenDevices) {
    std::set<std::tuple<int, int, int>> settings;
    for (const char* code : {"Y1", "Y2", "Y3", "Z1", "Z2", "Z3", "Z4", "Z6"}) {
        const int vout = kSetup.read_integer(code, "Vout", -1);
        const int cout = kSetup.read_integer(code, "Cout", -1);
        const int pack = kSetup.read_integer(code, "Pack", -1);
        EXPECT_TRUE(settings.insert({vout, cout, pack}).second) << code << " repeats another device";
        EXPECT_GE(vout, 0) << code;
        EXPECT_TRUE(cout == 0 || cout == 1) << code;
        EXPECT_GT(pack & 0x3F, 0) << code << " offers no trigger mode";
        if (code[0] == 'Y') {
            // The 3K option bytes know the PWM levels 1 to 3 and the DAC.
            EXPECT_EQ(vout, 3) << code;
            EXPECT_EQ(cout, 1) << code;
        }
    }
    EXPECT_EQ(kSetup.read_integer("Z6", "Vout", 0), 6);
    EXPECT_EQ(kSetup.read_integer("Z6", "Cout", 0), 1);
    // Some device offers every mode, Key Sequential among them.
    EXPECT_EQ(kSetup.read_integer("Y1", "Pack", 0), 0x3F);
}

}  // namespace
