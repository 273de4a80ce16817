#include <gtest/gtest.h>

#include "ini_file.h"
#include "ini_text.h"
#include "language_file.h"
#include "studio_texts.h"
#include "test_files.h"

namespace {

const std::string kEnglish = std::string(KOVA_DIR) + "/Language/English.ini";

TEST(EnglishLanguageFile, HoldsEveryTextUnderItsKey) {
    const ini_file english(kEnglish);
    ASSERT_TRUE(file_exists(kEnglish));
    for (const studio_text& text : studio_texts()) {
        const std::optional<std::string> value = english.find(text.section, text.key);
        ASSERT_TRUE(value) << text.section << " " << text.key;
        EXPECT_EQ(*value, text.english) << text.section << " " << text.key;
    }
    // Texts with a blank at either end survive only quoted.
    EXPECT_EQ(english.read_string("Status", "Tip007", ""), "Double click the File Name to add sound to Group. ");
    EXPECT_EQ(english.read_string("Message", "Msg023", ""), "This loaded DAT file is for: ");
}

TEST(EnglishLanguageFile, IsTheGeneratedTextInUtf8) {
    const std::string file = read_text(kEnglish);
    EXPECT_EQ(file, english_language_file());
    EXPECT_NE(file.find("Use 16\xCE\xA9 speaker"), std::string::npos);
    EXPECT_NE(file.find("\n[Message]\n"), std::string::npos);
    EXPECT_NE(file.find("\n[Status]\n"), std::string::npos);
}

TEST(IniLine, TheSettingsReaderGivesEveryValueBack) {
    const std::vector<std::string> values = {
        "plain", "", " leading", "trailing ", " both ", "\tTab", "\"quoted\"", "say \"hi\"", "\"", "\"open",
        "a=b", "; not a comment", "[not a section]", "x\r",
    };
    std::string file = ini_section("S");
    for (size_t i = 0; i < values.size(); ++i) file += ini_line("K" + std::to_string(i), values[i]);
    const std::string path = test_folder() + "/round.ini";
    write_text(path, file);
    const ini_file ini(path);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(ini.read_string("S", "K" + std::to_string(i), "(missing)"), values[i]) << i;
}

TEST(IniLine, RefusesValuesTheReaderCannotGiveBack) {
    EXPECT_THROW(ini_line("K", "two\nlines"), std::invalid_argument);
    EXPECT_THROW(ini_line("K", std::string(kIniValueLimit + 1, 'x')), std::invalid_argument);
    EXPECT_EQ(ini_line("K", std::string(kIniValueLimit, 'x')).size(), kIniValueLimit + 3);
}

}  // namespace
