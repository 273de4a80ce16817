// The main form as the program builds it: device table and lists, the About
// page, the title, the grid headers.
#include "studio_fixture.h"
#include "tform1.h"
#include "tform2.h"

namespace {

using MainForm = studio_test;

TEST_F(MainForm, ListsTheNamedDevicesInSectionOrderAndJoinsTheSupportTexts) {
    folder.write_setup_ini("[System]\r\nSysChk=0\r\nSwVer=V9.9.9\r\n[Z3]\r\nSymbol=KOVA42\r\nSize=0x20000\r\n"
                           "[Y0]\r\nSymbol=\r\n[Y1]\r\nSymbol=KOVA3K10\r\nSize=20000\r\n");
    TForm1& main = start_studio();
    ASSERT_EQ(main.CB_Device->Count(), 2);
    EXPECT_EQ(main.CB_Device->Item(0), "KOVA3K10");
    EXPECT_EQ(main.CB_Device->Item(1), "KOVA42");
    EXPECT_EQ(main.CB_Wrt_Device->Count(), 2);
    EXPECT_EQ(main.CB_Device->Text(), "KOVA3K10");
    EXPECT_EQ(main.CB_Wrt_Device->Text(), "KOVA3K10");
    EXPECT_EQ(main.DeviceTable[0].Code, "Y1");
    EXPECT_EQ(main.DeviceTable[0].Size, 20000);
    EXPECT_EQ(main.DeviceTable[1].Code, "Z3");
    EXPECT_EQ(main.DeviceTable[1].Size, 131072);
    EXPECT_EQ(main.CompileSupport->Text(), "KOVA3K10/ KOVA42");
    EXPECT_EQ(main.WriterSupport->Text(), "KOVA3K10/ KOVA42");
    EXPECT_EQ(main.windowTitle(), "KOVA Sound Compiler - V9.9.9");
    EXPECT_EQ(main.Version->Text(), "V9.9.9");
    EXPECT_FALSE(main.B_Save->isEnabled());
    EXPECT_FALSE(main.B_Load->isEnabled());
    EXPECT_EQ(record.sounds, std::vector<QString>{"SYSTEMDEFAULT"});
}

TEST_F(MainForm, WithoutSettingsTheListsStayEmptyAndTheVersionIsUnknown) {
    std::remove(folder.file("setup.ini").c_str());
    TForm1& main = start_studio();
    EXPECT_EQ(main.CB_Device->Count(), 0);
    EXPECT_EQ(main.CB_Device->Text(), "");
    EXPECT_EQ(main.CompileSupport->Text(), "");
    EXPECT_EQ(main.windowTitle(), "KOVA Sound Compiler - Unknow Version");
    EXPECT_EQ(main.CB_VoutSel->Count(), 0);
    EXPECT_EQ(main.CB_TgMode->Count(), 0);
}

TEST_F(MainForm, GridHeadersAndHiddenDataColumns) {
    TForm1& main = start_studio();
    EXPECT_EQ(main.SG_FileList->Cells(6, 0), "I0000");
    EXPECT_EQ(main.SG_FileList->Cells(5, 0), "File Path");
    EXPECT_EQ(main.SG_FileList->ColWidth(5), 0);
    EXPECT_EQ(main.SG_FileList->ColWidth(6), 0);
    EXPECT_EQ(main.SG_FileList->ColWidth(0), 100);
    EXPECT_EQ(main.SG_FileList->RowCount(), 23);
    EXPECT_EQ(main.SG_FileList->Row(), 1);
    EXPECT_EQ(main.SG_GrpList->Cells(5, 0), "ItemList");
    EXPECT_EQ(main.SG_GrpList->ColWidth(5), 0);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 0), "Voice File");
    EXPECT_EQ(main.SG_GrpTab->ColWidth(0), 150);
    EXPECT_EQ(main.SG_GrpTab->ColWidth(5), 0);
    EXPECT_EQ(main.SG_GrpTab->ColWidth(6), 50);
}

TEST_F(MainForm, TheStartFormShowsTheMainFormAtOnceWhenTheChecksAreOff) {
    start_studio();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form2->CB_Ini_SysFileChk->isChecked());
    EXPECT_EQ(Form2->height(), 185);
}

}  // namespace
