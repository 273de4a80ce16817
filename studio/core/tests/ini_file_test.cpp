#include "ini_file.h"
#include "studio_texts.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

ini_file ini_with(const std::string& text) {
    const std::string path = test_folder() + "/setup.ini";
    write_text(path, text);
    return ini_file(path);
}

TEST(IniFile, IntegersAreDecimalOrHexadecimalAfterThePrefix) {
    const ini_file ini = ini_with("[Y1]\nSize=0x20000\nPlain=20000\nWord=abc\nMixed=12abc\nNeg=-5\nBig=99999999999\n");
    EXPECT_EQ(ini.read_integer("Y1", "Size", 0), 131072);
    EXPECT_EQ(ini.read_integer("Y1", "Plain", 0), 20000);
    EXPECT_EQ(ini.read_integer("Y1", "Word", 7), 7);
    EXPECT_EQ(ini.read_integer("Y1", "Mixed", 7), 7);
    EXPECT_EQ(ini.read_integer("Y1", "Neg", 0), -5);
    EXPECT_EQ(ini.read_integer("Y1", "Big", 7), 7);
    EXPECT_EQ(ini.read_integer("Y1", "Missing", 9), 9);
}

TEST(IniFile, NamesMatchWithoutCaseAndTheFirstEntryWins) {
    const ini_file ini = ini_with("; note\r\n[system]\r\nlanguage = English.ini \r\nLANGUAGE=Other\r\n"
                                  "[System]\r\nDbgMode=1\r\n");
    EXPECT_EQ(ini.read_string("System", "Language", ""), "English.ini");
    EXPECT_TRUE(ini.read_bool("SYSTEM", "dbgmode", false));
    EXPECT_EQ(ini.read_string("Other", "Language", "none"), "none");
}

TEST(IniFile, BooleansAreIntegers) {
    const ini_file ini = ini_with("[System]\nA=0\nB=1\nC=yes\nD=2\n");
    EXPECT_FALSE(ini.read_bool("System", "A", true));
    EXPECT_TRUE(ini.read_bool("System", "B", false));
    EXPECT_FALSE(ini.read_bool("System", "C", false));
    EXPECT_TRUE(ini.read_bool("System", "C", true));
    EXPECT_TRUE(ini.read_bool("System", "D", false));
}

TEST(IniFile, QuotedValuesKeepTheirBlanksAndLongValuesAreCut) {
    const ini_file ini = ini_with("[Status]\nTip007=\"Double click. \"\nLong=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(ini.read_string("Status", "Tip007", ""), "Double click. ");
    EXPECT_EQ(ini.read_string("Status", "Long", "").size(), kIniValueLimit);
}

TEST(IniFile, AMissingFileOrAFolderGivesTheDefaults) {
    EXPECT_EQ(ini_file(test_folder() + "/none.ini").read_string("System", "SwVer", "Unknow Version"),
              "Unknow Version");
    EXPECT_EQ(ini_file(test_folder()).read_integer("System", "SysChk", 1), 1);
    EXPECT_EQ(ini_file().read_string("A", "B", "c"), "c");
}

TEST(StudioTexts, TheLanguageFileReplacesAWholeTextAndMissingKeysGiveEnglish) {
    const ini_file language = ini_with("[Message]\nMsg016=Neue Firmware?\n[Status]\nTip001=Gerät wählen\n");
    EXPECT_EQ(message_text(language, "Msg016"), "Neue Firmware?");
    EXPECT_EQ(message_text(language, "Msg008"), "Compile failed!");
    EXPECT_EQ(tip_text(language, "Tip001"), "Gerät wählen");
    EXPECT_EQ(tip_text(language, "Tip016"), "Cancle");
    EXPECT_EQ(tip_text(language, "Tip018"), "");
}

}  // namespace
