// The device choice on the compiler page as the user makes it: the output-type
// and trigger-mode lists that follow the device, the trigger mode kept when the
// new device has it, and the application note that Application Note opens.
#include "studio_fixture.h"

#include "tform1.h"
#include "ui_driver.h"

#include <QStringList>

#include <filesystem>

namespace {

using DeviceLists = studio_test;

QStringList items(const TComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->Count(); ++i) list << combo->Item(i);
    return list;
}

const QStringList kAllModes = {"Key Single",           "Key Sequential",  "CPU Serial Pluse Count",
                               "CPU Serial Pluse Width", "Address Trigger", "CPU Serial Command"};

TEST_F(DeviceLists, EachDeviceOffersItsOutputTypesAndTriggerModesInTheirOrder) {
    TForm1& main = start_studio();
    // The first device is chosen when the form opens: KOVA3K10 with three levels, DAC and all six modes.
    EXPECT_EQ(main.CB_Device->Text(), "KOVA3K10");
    EXPECT_EQ(items(main.CB_VoutSel),
              (QStringList{"VOUT[PWM] - Level 1", "VOUT[PWM] - Level 2", "VOUT[PWM] - Level 3", "COUT[DAC]"}));
    EXPECT_EQ(main.CB_VoutSel->Text(), "VOUT[PWM] - Level 1");
    EXPECT_EQ(items(main.CB_TgMode), kAllModes);
    EXPECT_EQ(main.CB_TgMode->Text(), "Key Single");

    choose(main.CB_Device, "KOVA10");  // one level, no DAC; Pack 0x03
    EXPECT_EQ(items(main.CB_VoutSel), QStringList{"VOUT[PWM] - Level 1"});
    EXPECT_EQ(items(main.CB_TgMode), (QStringList{"Key Single", "Key Sequential"}));

    choose(main.CB_Device, "KOVA3K21");  // Pack 0x13: Address Trigger (0x10) comes after the key modes
    EXPECT_EQ(items(main.CB_TgMode), (QStringList{"Key Single", "Key Sequential", "Address Trigger"}));

    choose(main.CB_Device, "KOVA341");
    EXPECT_EQ(main.CB_VoutSel->Count(), 7);
    EXPECT_EQ(main.CB_VoutSel->Item(5), "VOUT[PWM] - Level 6");
}

TEST_F(DeviceLists, AChangeOfDeviceKeepsTheTriggerModeTheNewDeviceHasAndResetsTheOutputType) {
    TForm1& main = start_studio();
    choose(main.CB_TgMode, "Key Sequential");
    choose(main.CB_VoutSel, "COUT[DAC]");
    choose(main.CB_Device, "KOVA3K21");
    EXPECT_EQ(main.CB_TgMode->Text(), "Key Sequential");
    EXPECT_EQ(main.CB_VoutSel->Text(), "VOUT[PWM] - Level 1");

    choose(main.CB_TgMode, "Address Trigger");
    choose(main.CB_Device, "KOVA85");  // Pack 0x1F has Address Trigger
    EXPECT_EQ(main.CB_TgMode->Text(), "Address Trigger");
    choose(main.CB_Device, "KOVA3K42");  // Pack 0x23 has not: the first mode
    EXPECT_EQ(main.CB_TgMode->Text(), "Key Single");

    // Choosing the same device again keeps the mode too.
    choose(main.CB_TgMode, "CPU Serial Command");
    choose(main.CB_Device, "KOVA3K42");
    EXPECT_EQ(main.CB_TgMode->Text(), "CPU Serial Command");
}

TEST_F(DeviceLists, ApplicationNoteOpensTheNoteOfTheDeviceAndTriggerMode) {
    TForm1& main = start_studio();
    choose(main.CB_TgMode, "Key Sequential");
    click(main.BT_AppNote);
    choose(main.CB_Device, "KOVA341");
    choose(main.CB_TgMode, "Address Trigger");
    click(main.BT_AppNote);
    choose(main.CB_Device, "KOVA10");  // the same digit as KOVA3K10: the same folder, another file
    click(main.BT_AppNote);
    const std::vector<QString> expected = {QString::fromStdString(folder.file("bin/1x2/Y1x2.pdf")),
                                           QString::fromStdString(folder.file("bin/6x8/Z6x8.pdf")),
                                           QString::fromStdString(folder.file("bin/1x1/Z1x1.pdf"))};
    EXPECT_EQ(record.opened, expected);
    for (const QString& note : expected) EXPECT_TRUE(std::filesystem::is_regular_file(note.toStdString()));
}

TEST_F(DeviceLists, SectionsWithoutLevelsDacOrModesGiveEmptyLists) {
    folder.write_setup_ini("[System]\nSysChk=0\n"
                           "[Y1]\nSymbol=DacOnly\nVout=0\nCout=1\nPack=0xC0\n"
                           "[Y2]\nSymbol=Nothing\nVout=none\nCout=0\n"
                           "[Z9]\nSymbol=Many\nVout=0x2\nPack=0x21\n");
    TForm1& main = start_studio();
    EXPECT_EQ(items(main.CB_VoutSel), QStringList{"COUT[DAC]"});
    EXPECT_EQ(main.CB_TgMode->Count(), 0);  // bits 6 and 7 name no mode
    EXPECT_EQ(main.CB_TgMode->Text(), "");
    click(main.BT_AppNote);  // no trigger mode: nothing opens
    EXPECT_TRUE(record.opened.empty());

    choose(main.CB_Device, "Nothing");
    EXPECT_EQ(main.CB_VoutSel->Count(), 0);
    EXPECT_EQ(main.CB_VoutSel->Text(), "");

    choose(main.CB_Device, "Many");
    EXPECT_EQ(items(main.CB_VoutSel), (QStringList{"VOUT[PWM] - Level 1", "VOUT[PWM] - Level 2"}));
    EXPECT_EQ(items(main.CB_TgMode), (QStringList{"Key Single", "CPU Serial Command"}));
    choose(main.CB_TgMode, "CPU Serial Command");
    click(main.BT_AppNote);
    EXPECT_EQ(record.opened, std::vector<QString>{QString::fromStdString(folder.file("bin/9x5/Z9x5.pdf"))});
}

TEST_F(DeviceLists, LevelCountsOutOfRangeAreReadAsNinetyNineOrNone) {
    folder.write_setup_ini("[System]\nSysChk=0\n"
                           "[Y1]\nSymbol=Huge\nVout=2147483647\nCout=1\nPack=0x01\n"
                           "[Y2]\nSymbol=Negative\nVout=-3\nCout=1\nPack=0x01\n");
    // The form opens on the first device.
    TForm1& main = start_studio();
    ASSERT_EQ(main.CB_VoutSel->Count(), 100);
    EXPECT_EQ(main.CB_VoutSel->Item(98), "VOUT[PWM] - Level 99");
    EXPECT_EQ(main.CB_VoutSel->Item(99), "COUT[DAC]");
    EXPECT_EQ(main.CB_VoutSel->Text(), "VOUT[PWM] - Level 1");

    choose(main.CB_Device, "Negative");
    EXPECT_EQ(items(main.CB_VoutSel), QStringList{"COUT[DAC]"});
}

}  // namespace
