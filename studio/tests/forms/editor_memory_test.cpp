// The memory estimate under the file list as the project changes: the gauge,
// its label and colour, and the Compile button that it allows.
#include "bgr_color.h"
#include "editor_fixture.h"
#include "tform1.h"
#include "test_files.h"
#include "ui_driver.h"

#include <QAccessible>

#include <filesystem>

namespace {

using Memory = editor_test;

QString usage_text(int64_t bytes, int64_t maximum) {
    return QString("Memory Usage: %1%").arg(bytes * 100 / maximum);
}

void expect_estimate(const TForm1& main, int64_t bytes, int64_t maximum) {
    EXPECT_EQ(main.CG_MemUsg->MaxValue(), maximum);
    EXPECT_EQ(main.CG_MemUsg->Progress(), std::min(bytes, maximum));
    EXPECT_EQ(main.LB_MemUsg->Caption(), usage_text(bytes, maximum));
    // A screen reader reads the same estimate from the gauge.
    QAccessibleInterface* gauge = QAccessible::queryAccessibleInterface(main.CG_MemUsg);
    EXPECT_EQ(gauge->text(QAccessible::Name), "Memory Usage");
    EXPECT_EQ(gauge->valueInterface()->currentValue().toLongLong(), std::min(bytes, maximum));
    EXPECT_EQ(gauge->valueInterface()->maximumValue().toLongLong(), maximum);
    EXPECT_EQ(gauge->text(QAccessible::Description), usage_text(bytes, maximum));
    const bool fits = bytes + 16 < maximum;
    EXPECT_EQ(main.BT_Compile->isEnabled(), fits) << bytes << " of " << maximum;
    EXPECT_EQ(font_color(main.LB_MemUsg), fits ? kBgrBlue : kBgrRed);
}

TEST_F(Memory, EveryChangeOfSizesOrEntriesUpdatesTheEstimate) {
    TForm1& main = start_studio();
    // KOVA3K10 in Key Single: voice data from 0x480, 8 groups.
    const int64_t base = 0x480 + 48 + 8 * (4 + 8);
    expect_estimate(main, base, 0x8000);

    add_files({wav("a.wav", 100), wav("b.wav", 64)});
    expect_estimate(main, base + 164, 0x8000);
    put_into_group(1);  // one entry costs what an empty group does
    expect_estimate(main, base + 164, 0x8000);
    put_into_group(1);
    put_into_group(2);
    expect_estimate(main, base + 164 + 16, 0x8000);

    click(main.BT_EditFL);  // b.wav to ADPCM: 64 / 8 * 4 + 4
    expect_estimate(main, base + 100 + 36 + 16, 0x8000);
    choose(main.CB_ComFmt, "5-bit u-Law");
    expect_estimate(main, base + 100 + 45 + 16, 0x8000);

    right_click_cell(main.SG_GrpTab, 0, 1);
    ASSERT_TRUE(choose_menu_item(main.PMB_GrpRemove));
    expect_estimate(main, base + 100 + 45 + 8, 0x8000);

    select_file(1);
    click(main.BT_Remove);
    expect_estimate(main, base + 45, 0x8000);

    // Key Sequential: voice data from 0x4C0, 4 groups.
    choose(main.CB_TgMode, "Key Sequential");
    expect_estimate(main, 0x4C0 + 48 + 4 * (4 + 8) + 45, 0x8000);
    choose(main.CB_Device, "KOVA341");  // keeps Key Sequential: bin/6x2, from 0xAC0, 8 groups
    expect_estimate(main, 0xAC0 + 48 + 8 * (4 + 8) + 45, 0x100000);
}

TEST_F(Memory, CompileNeedsSixteenBytesToSpareAndASizeOfZeroKeepsTheMaximumBefore) {
    // No mode files for digits 5, 7 and 9: the estimate's default offset and one group, 1536 + 48 + 4 + 8 bytes.
    folder.write_setup_ini("[System]\r\nSysChk=0\r\n"
                           "[Y5]\r\nSymbol=NOSIZE\r\nSize=0\r\nPack=1\r\n"
                           "[Y7]\r\nSymbol=TIGHT\r\nSize=1612\r\nPack=1\r\n"
                           "[Y9]\r\nSymbol=ROOMY\r\nSize=1613\r\nPack=1\r\n");
    TForm1& main = start_studio();
    ASSERT_EQ(main.CB_Device->Text(), "NOSIZE");
    EXPECT_EQ(main.SG_GrpList->RowCount(), 2);
    // The first device has no size: the gauge keeps its first maximum of 1.
    expect_estimate(main, 1596, 1);
    EXPECT_EQ(main.LB_MemUsg->Caption(), "Memory Usage: 159600%");

    choose(main.CB_Device, "TIGHT");
    expect_estimate(main, 1596, 1612);
    EXPECT_EQ(main.LB_MemUsg->Caption(), "Memory Usage: 99%");
    choose(main.CB_Device, "ROOMY");
    expect_estimate(main, 1596, 1613);
    choose(main.CB_Device, "NOSIZE");
    expect_estimate(main, 1596, 1613);
}

TEST_F(Memory, TheModeFilesOffsetIsReadAsHexadecimalWithItsDefault) {
    folder.write_setup_ini("[System]\r\nSysChk=0\r\n[Y5]\r\nSymbol=FIVE\r\nSize=65536\r\nPack=3\r\n");
    std::filesystem::create_directories(folder.file("bin/5x1"));
    std::filesystem::create_directories(folder.file("bin/5x2"));
    write_text(folder.file("bin/5x1/5x1.ini"), "[Global]\r\nOffset=1000\r\nMaxSec=2\r\n");
    write_text(folder.file("bin/5x2/5x2.ini"), "[Global]\r\nOffset=xyz\r\nMaxSec=2\r\n");
    TForm1& main = start_studio();
    expect_estimate(main, 4096 + 48 + 2 * 12, 65536);
    choose(main.CB_TgMode, "Key Sequential");
    expect_estimate(main, 1536 + 48 + 2 * 12, 65536);
}

TEST_F(Memory, ASoundCountsItsWholeDataChunkAndNoMoreThanTheFileHolds) {
    TForm1& main = start_studio();
    const int64_t base = 0x480 + 48 + 8 * (4 + 8);
    // One second with a LIST chunk before the data, and a size field claiming 99,999,999 bytes of 4,000.
    add_files({wav("second.wav", 8000, with_list_chunk()), wav("claims.wav", 4000, with_size_field(99999999))});
    EXPECT_EQ(column(main.SG_FileList, 2), (QStringList{"8000", "4000"}));
    expect_estimate(main, base + 12000, 0x8000);
}

TEST_F(Memory, AHugeDataSizeCannotLowerTheEstimate) {
    TForm1& main = start_studio();
    const int64_t base = 0x480 + 48 + 8 * (4 + 8);
    // Files that hold what their headers claim, without taking the room: the rest is a hole.
    const uint32_t huge = 0xFFFFFFF0u;
    const QString first = wav("huge.wav", 100, with_size_field(huge));
    const QString second = wav("also.wav", 100, with_size_field(huge));
    for (const QString& path : {first, second}) std::filesystem::resize_file(path.toStdString(), 44 + uint64_t{huge});
    add_files({first, second});
    EXPECT_EQ(main.SG_FileList->Cells(2, 1), "4294967280");
    expect_estimate(main, base + 2 * int64_t{huge}, 0x8000);
    EXPECT_EQ(main.CG_MemUsg->PercentDone(), 100);

    select_file(1);
    click(main.BT_EditFL);
    EXPECT_EQ(main.SG_FileList->Cells(2, 1), "2147483644");
    expect_estimate(main, base + 2147483644 + int64_t{huge}, 0x8000);
    select_file(2);
    click(main.BT_Remove);
    select_file(1);
    click(main.BT_Remove);
    expect_estimate(main, base, 0x8000);
    for (const QString& path : {first, second}) std::filesystem::remove(path.toStdString());
}

}  // namespace
