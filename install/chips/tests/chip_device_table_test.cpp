#include <gtest/gtest.h>

#include <map>
#include <set>

#include "application_note.h"
#include "chip_device_table.h"
#include "chip_files.h"
#include "device_vocabulary.h"
#include "ini_file.h"
#include "pdf_check.h"
#include "pdf_page.h"
#include "test_files.h"

namespace {

TEST(ChipTable, OffsetsLeaveRoomAndDifferBetweenModes) {
    std::map<char, std::set<int32_t>> offsets;
    for (const chip_mode& mode : chip_modes()) {
        const std::string key = mode_key(mode.digit, mode.mode);
        EXPECT_NE(trigger_mode_name(std::string(1, mode.mode)), "") << key;
        EXPECT_NE(mode.offset, 0x600) << key << " uses the readers' default";
        EXPECT_TRUE(offsets[mode.digit].insert(mode.offset).second) << key << " repeats an Offset";
        EXPECT_GE(mode.max_sec, 1) << key;
        EXPECT_TRUE(mode.fixed == 0 || mode.fixed == 1) << key;
        EXPECT_EQ(find_chip_mode(mode.digit, mode.mode), &mode) << key << " appears twice";
    }
    EXPECT_EQ(find_chip_mode('1', '6'), nullptr);
    EXPECT_EQ(find_chip_device("Y5"), nullptr);
}

TEST(ChipTable, EveryDeviceMakesVerifiableTemplatesInEachModeOfItsDigit) {
    for (const chip_device& device : chip_devices()) {
        EXPECT_NE(dat_model(device), "") << device.code << " has no chip model name";
        int modes = 0;
        for (const chip_mode& mode : chip_modes()) {
            if (mode.digit != device.code[1]) continue;
            ++modes;
            for (int format = 0; format < 2; ++format) {
                const template_spec spec = chip_template_spec(device, mode, format);
                const std::string name = template_name(device.code, format, mode.mode);
                std::string error;
                const std::vector<uint8_t> file = template_file(spec, error);
                EXPECT_EQ(error, "") << name;
                EXPECT_EQ(template_verifier_problem(spec), "") << name;
                EXPECT_EQ(file.size(), static_cast<size_t>(spec.header_offset + mode.offset)) << name;
                EXPECT_LE(spec.cipher_end, mode.offset - 32) << name << ": the option bytes must stay plain";
                EXPECT_LE(file.size(), 4096u) << name << " is larger than a template needs";
            }
        }
        EXPECT_GT(modes, 0) << device.code;
    }
    // The two formats of one device and mode carry different chip programs.
    const chip_device& y1 = *find_chip_device("Y1");
    const chip_mode& key_single = *find_chip_mode('1', '1');
    std::string error;
    EXPECT_NE(template_file(chip_template_spec(y1, key_single, 0), error),
              template_file(chip_template_spec(y1, key_single, 1), error));
}

TEST(ModeSettingsText, ReadsBackThroughTheSettingsReader) {
    const std::string folder = test_folder();
    for (const chip_mode& mode : chip_modes()) {
        const std::string key = mode_key(mode.digit, mode.mode);
        const std::string path = folder + "/" + key + ".ini";
        write_text(path, mode_settings_text(mode));
        const ini_file ini(path);
        EXPECT_EQ(parse_ini_integer("0x" + ini.read_string("Global", "Offset", "")), mode.offset) << key;
        EXPECT_EQ(ini.read_integer("Global", "MaxSec", -1), mode.max_sec) << key;
        EXPECT_EQ(ini.read_integer("Global", "Fixed", -1), mode.fixed) << key;
        for (int c = 0; c <= 10; ++c) {
            const std::string cell = (c < 10 ? "Cell0" : "Cell") + std::to_string(c);
            const auto i = static_cast<size_t>(c);
            EXPECT_EQ(ini.find("Line0", cell), std::optional<std::string>((*mode.line0)[i])) << key << cell;
            EXPECT_EQ(ini.find("Line1", cell), std::optional<std::string>((*mode.line1)[i])) << key << cell;
        }
    }
    // The Offset is hexadecimal digits without a prefix.
    EXPECT_NE(mode_settings_text(*find_chip_mode('1', '2')).find("\nOffset=4C0\n"), std::string::npos);
}

TEST(PdfPage, CrossReferencesPointAtTheirObjects) {
    const std::string pdf = pdf_single_page("A (b) \\ c", {{"Line one", 20}, {"(two) \\ three", 9}, {""}});
    EXPECT_EQ(pdf_structure_problem(pdf), "");
    EXPECT_EQ(pdf_page_text(pdf), "Line one\n(two) \\ three\n\n");
    EXPECT_NE(pdf.find("/Title (A \\(b\\) \\\\ c)"), std::string::npos);

    // The checker notices a table that is off by one byte.
    std::string shifted = pdf;
    shifted.insert(20, " ");
    EXPECT_NE(pdf_structure_problem(shifted), "");
}

TEST(PdfString, EscapesDelimitersAndReplacesWhatTheFontCannotShow) {
    EXPECT_EQ(pdf_string("a(b)c\\d"), "(a\\(b\\)c\\\\d)");
    EXPECT_EQ(pdf_string("16\xCE\xA9\n"), "(16\?\?\?)");
    EXPECT_EQ(pdf_string(""), "()");
}

TEST(ApplicationNote, NamesTheDeviceAndTheMode) {
    offered_device device;
    device.code = "Y1";
    device.symbol = "KOVA3K10";
    device.size = 0x8000;
    const std::string pdf = application_note(device, *find_chip_device("Y1"), *find_chip_mode('1', '2'));
    EXPECT_EQ(pdf_structure_problem(pdf), "");
    const std::string text = pdf_page_text(pdf);
    EXPECT_NE(text.find("KOVA3K10 in Key Sequential mode"), std::string::npos) << text;
    EXPECT_NE(text.find("Voice groups: 4"), std::string::npos) << text;
    EXPECT_NE(text.find("0x4C0"), std::string::npos) << text;
    EXPECT_NE(text.find("Y122.pgm"), std::string::npos) << text;
    EXPECT_NE(text.find("6.0 MHz"), std::string::npos) << text;
}

}  // namespace
