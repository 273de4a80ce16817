#include "device_vocabulary.h"

#include <gtest/gtest.h>

#include "fifo_guard.h"
#include "ini_file.h"
#include "test_files.h"

namespace {

ini_file setup_with(const std::string& text) {
    const std::string path = test_folder() + "/setup.ini";
    write_text(path, text);
    return ini_file(path);
}

TDeviceTable table_of(const std::string& setup_text) { return build_device_table(setup_with(setup_text)); }

// A DAT file whose bytes from 32 on are the given text header.
std::string dat_with_header(const std::string& header, const std::string& name = "image.dat") {
    const std::string path = test_folder() + "/" + name;
    write_text(path, std::string(32, '\xA5') + header);
    return path;
}

TEST(DeviceTable, SectionsWithASymbolFillTheTableInOrderWithoutGaps) {
    const TDeviceTable table = table_of("[Z3]\nSymbol=KOVA42\nSize=20000\n[Y1]\nSymbol=KOVA3K10\nSize=0x20000\n");
    EXPECT_EQ(table[0].Symbol, "KOVA3K10");
    EXPECT_EQ(table[0].Code, "Y1");
    EXPECT_EQ(table[0].Size, 131072);
    EXPECT_EQ(table[1].Symbol, "KOVA42");
    EXPECT_EQ(table[1].Code, "Z3");
    EXPECT_EQ(table[1].Size, 20000);
    for (int i = 2; i < kDeviceTableSize; ++i) {
        EXPECT_EQ(table[i].Symbol, "");
        EXPECT_EQ(table[i].Code, "");
        EXPECT_EQ(table[i].Size, 0);
    }
    EXPECT_EQ(support_text(table), "KOVA3K10/ KOVA42");
}

TEST(DeviceTable, EmptySymbolsAreSkippedAndBadSizesReadZero) {
    const TDeviceTable table = table_of("[Y0]\nSymbol=\nSize=5\n[y2]\nsymbol=Small\nSize=lots\n"
                                        "[Y5]\nSize=7\n[Z0]\nSymbol=Big\n[Z9]\nSymbol=Last\nSize=-3\n");
    EXPECT_EQ(table[0].Code, "Y2");
    EXPECT_EQ(table[0].Size, 0);
    EXPECT_EQ(table[1].Code, "Z0");
    EXPECT_EQ(table[1].Size, 0);
    EXPECT_EQ(table[2].Code, "Z9");
    EXPECT_EQ(table[2].Size, -3);
    EXPECT_EQ(table[3].Code, "");
    EXPECT_EQ(support_text(table), "Small/ Big/ Last");
}

TEST(DeviceTable, NoDevicesGiveAnEmptyTableAndSupportText) {
    const TDeviceTable table = build_device_table(ini_file(test_folder() + "/missing.ini"));
    for (const TDeviceEntry& entry : table) EXPECT_EQ(entry.Symbol, "");
    EXPECT_EQ(support_text(table), "");
    TDeviceTable one;
    one[0] = {"A", "Y0", 1};
    EXPECT_EQ(support_text(one), "A");
}

TEST(DeviceLookups, FirstEqualEntryWinsAndComparisonsKeepCase) {
    const TDeviceTable table = table_of("[Y1]\nSymbol=KOVA3K10\nSize=32768\n[Z1]\nSymbol=Twin\nSize=1\n"
                                        "[Z2]\nSymbol=Twin\nSize=2\n");
    EXPECT_EQ(device_index(table, "KOVA3K10"), 0);
    EXPECT_EQ(device_index(table, "kova3k10"), -1);
    EXPECT_EQ(device_index(table, "Twin"), 1);
    EXPECT_EQ(device_code(table, "Twin"), "Z1");
    EXPECT_EQ(device_code(table, "KOVA3K1"), "");
    EXPECT_EQ(device_symbol(table, "Z2"), "Twin");
    EXPECT_EQ(device_symbol(table, "z2"), "");
    EXPECT_EQ(device_size(table, "Y1"), 32768);
    EXPECT_EQ(device_size(table, "Y2"), -1);
}

TEST(DeviceLookups, AnEmptyArgumentFindsTheFirstUnusedEntryUnlessAllTwentyAreUsed) {
    const TDeviceTable three = table_of("[Y1]\nSymbol=A\nSize=9\n[Y2]\nSymbol=B\n[Z6]\nSymbol=C\nSize=9\n");
    EXPECT_EQ(device_index(three, ""), 3);
    EXPECT_EQ(device_size(three, ""), 0);
    EXPECT_EQ(device_symbol(three, ""), "");
    EXPECT_EQ(device_code(three, ""), "");

    std::string all;
    for (const char* series : {"Y", "Z"}) {
        for (int digit = 0; digit <= 9; ++digit) {
            all += "[" + std::string(series) + std::to_string(digit) + "]\nSymbol=D" + series + std::to_string(digit) +
                   "\nSize=4\n";
        }
    }
    const TDeviceTable twenty = table_of(all);
    EXPECT_EQ(twenty[19].Code, "Z9");
    EXPECT_EQ(device_index(twenty, ""), -1);
    EXPECT_EQ(device_size(twenty, ""), -1);
    EXPECT_EQ(device_index(twenty, "DZ9"), 19);
    EXPECT_EQ(support_text(twenty).substr(0, 13), "DY0/ DY1/ DY2");
}

TEST(ChipModelNames, ThreeKNamesMatchWholeTheOthersByTheirBeginning) {
    EXPECT_EQ(device_name_to_code("KOVA3K10"), "Y1");
    EXPECT_EQ(device_name_to_code("KOVA3K21"), "Y2");
    EXPECT_EQ(device_name_to_code("KOVA3K42"), "Y3");
    EXPECT_EQ(device_name_to_code("KOVA3K10 "), "");
    EXPECT_EQ(device_name_to_code("KOVA3k10"), "");
    EXPECT_EQ(device_name_to_code("KOVA10"), "Z1");
    EXPECT_EQ(device_name_to_code("KOVA21B"), "Z2");
    EXPECT_EQ(device_name_to_code("KOVA42"), "Z3");
    EXPECT_EQ(device_name_to_code("KOVA85"), "Z4");
    EXPECT_EQ(device_name_to_code("KOVA341 and more"), "Z6");
    EXPECT_EQ(device_name_to_code("KOVA34"), "");
    EXPECT_EQ(device_name_to_code("KOVA1"), "");
    EXPECT_EQ(device_name_to_code("kova10"), "");
    EXPECT_EQ(device_name_to_code(""), "");
}

TEST(ChipModelNames, OnlyEightCodesHaveAModelName) {
    EXPECT_EQ(device_code_to_name("Y1"), "KOVA3K10");
    EXPECT_EQ(device_code_to_name("Y2"), "KOVA3K21");
    EXPECT_EQ(device_code_to_name("Y3"), "KOVA3K42");
    EXPECT_EQ(device_code_to_name("Z1"), "KOVA10");
    EXPECT_EQ(device_code_to_name("Z2"), "KOVA21");
    EXPECT_EQ(device_code_to_name("Z3"), "KOVA42");
    EXPECT_EQ(device_code_to_name("Z4"), "KOVA85");
    EXPECT_EQ(device_code_to_name("Z6"), "KOVA341");
    for (const char* none : {"Z5", "y1", "Y0", "Y4", "Z0", "Z7", "Y1 ", ""}) EXPECT_EQ(device_code_to_name(none), "");
}

TEST(DatDeviceName, TheFirstKovaInTheTextHeaderNamesTheModel) {
    EXPECT_EQ(dat_device_name(dat_with_header("Model KOVA3k10 rev A")), "KOVA3K10");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA3k21")), "KOVA3K21");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA3k42")), "KOVA3K42");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA3K10")), "");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA10")), "KOVA10");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA1099")), "KOVA10");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA85")), "KOVA85");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA3412")), "KOVA341");
    EXPECT_EQ(dat_device_name(dat_with_header("KOVAPRO image for KOVA42")), "");
    EXPECT_EQ(dat_device_name(dat_with_header("kova42")), "");
    EXPECT_EQ(dat_device_name(dat_with_header(std::string("chip\0KOVA42", 11))), "");
}

TEST(DatDeviceName, OnlyBytesThirtyTwoToFiveHundredFortyThreeAreSearched) {
    // A name whose last character would be byte 544 is cut to "KOVA1".
    EXPECT_EQ(dat_device_name(dat_with_header(std::string(507, ' ') + "KOVA10")), "");
    // Ending on byte 543 it is read whole.
    EXPECT_EQ(dat_device_name(dat_with_header(std::string(506, ' ') + "KOVA10")), "KOVA10");
    // Nothing before byte 32 counts.
    const std::string early = test_folder() + "/early.dat";
    write_text(early, "KOVA42" + std::string(26, ' ') + "no name here");
    EXPECT_EQ(dat_device_name(early), "");
    // A file that ends inside the name.
    EXPECT_EQ(dat_device_name(dat_with_header("KOVA1")), "");
}

TEST(DatDeviceName, ShortMissingOrOddFilesGiveNothingAtOnce) {
    const std::string folder = test_folder();
    write_text(folder + "/short.dat", std::string(32, 'K'));
    EXPECT_EQ(dat_device_name(folder + "/short.dat"), "");
    EXPECT_EQ(dat_device_name(folder + "/none.dat"), "");
    EXPECT_EQ(dat_device_name(""), "");
    EXPECT_EQ(dat_device_name(folder), "");
    const std::string fifo = make_fifo(folder + "/pipe.dat");
    EXPECT_EQ(without_waiting(fifo, [&] { return dat_device_name(fifo); }), "");
}

TEST(TriggerModes, NamesGiveTheirCodesExactly) {
    EXPECT_EQ(trigger_mode_code("Key Single"), "1");
    EXPECT_EQ(trigger_mode_code("Key Sequential"), "2");
    EXPECT_EQ(trigger_mode_code("CPU Serial Pluse Count"), "3");
    EXPECT_EQ(trigger_mode_code("CPU Serial Pluse Width"), "4");
    EXPECT_EQ(trigger_mode_code("CPU Serial Command"), "5");
    EXPECT_EQ(trigger_mode_code("Address Trigger"), "8");
    EXPECT_EQ(trigger_mode_code("CPU Serial Pulse Count"), "");
    EXPECT_EQ(trigger_mode_code("key single"), "");
    EXPECT_EQ(trigger_mode_code(""), "");
}

TEST(TriggerModes, PackBitsChooseTheItemsInListOrder) {
    const std::vector<std::string> all = {"Key Single",      "Key Sequential", "CPU Serial Pluse Count",
                                          "CPU Serial Pluse Width", "Address Trigger", "CPU Serial Command"};
    EXPECT_EQ(trigger_mode_items(0x3F), all);
    EXPECT_EQ(trigger_mode_items(0x7F), all);
    EXPECT_EQ(trigger_mode_items(-1), all);
    EXPECT_TRUE(trigger_mode_items(0xC0).empty());
    EXPECT_TRUE(trigger_mode_items(0).empty());
    EXPECT_EQ(trigger_mode_items(0x30), (std::vector<std::string>{"Address Trigger", "CPU Serial Command"}));
    EXPECT_EQ(trigger_mode_items(0x06), (std::vector<std::string>{"Key Sequential", "CPU Serial Pluse Count"}));
}

TEST(OutputTypes, LevelsUpToVoutThenTheDacOutput) {
    EXPECT_EQ(output_type_items(3, 1), (std::vector<std::string>{"VOUT[PWM] - Level 1", "VOUT[PWM] - Level 2",
                                                                 "VOUT[PWM] - Level 3", "COUT[DAC]"}));
    EXPECT_EQ(output_type_items(0, 1), std::vector<std::string>{"COUT[DAC]"});
    EXPECT_EQ(output_type_items(2, 0), (std::vector<std::string>{"VOUT[PWM] - Level 1", "VOUT[PWM] - Level 2"}));
    EXPECT_EQ(output_type_items(1, -7), (std::vector<std::string>{"VOUT[PWM] - Level 1", "COUT[DAC]"}));
    EXPECT_TRUE(output_type_items(0, 0).empty());
    EXPECT_TRUE(output_type_items(-4, 0).empty());
    // Other parts read "PWM" at characters 6..8 and the level's first digit at character 19.
    const std::string tenth = output_type_items(10, 0).back();
    EXPECT_EQ(tenth, "VOUT[PWM] - Level 10");
    EXPECT_EQ(tenth.substr(5, 3), "PWM");
    EXPECT_EQ(tenth[18], '1');
}

TEST(ModeKeys, TheSeriesLetterIsDropped) {
    EXPECT_EQ(mode_key("Y1", "2"), "1x2");
    EXPECT_EQ(mode_key("Z1", "1"), mode_key("Y1", "1"));
    EXPECT_EQ(mode_key("Z6", "8"), "6x8");
    EXPECT_EQ(mode_key("Y1", ""), "1x");
    EXPECT_EQ(mode_key("", ""), "");
}

TEST(CompressionFormats, ItemsAndDigits) {
    EXPECT_EQ(compression_formats()[0], "4-bit ADPCM");
    EXPECT_EQ(compression_formats()[1], "5-bit u-Law");
    EXPECT_EQ(format_digit(0), "2");
    EXPECT_EQ(format_digit(1), "7");
    EXPECT_EQ(format_digit(-1), "");
    EXPECT_EQ(format_digit(2), "");
}

}  // namespace
