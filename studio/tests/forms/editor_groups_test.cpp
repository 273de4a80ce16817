// The group list and its editing as a user works them: trigger-mode and device
// changes that rebuild the list, the settings panel, the group table with its
// menu, busy toggle and reordering, and removing an item from every group.
#include "editor_fixture.h"
#include "project_entry.h"
#include "tform1.h"
#include "test_files.h"
#include "ui_driver.h"

#include <filesystem>

namespace {

using Groups = editor_test;

QStringList labels(const TStringGrid* grid) {
    QStringList texts;
    for (int row = 1; row < grid->RowCount(); ++row) texts << grid->Cells(0, row);
    return texts;
}

QStringList options(const TStringGrid* grid, int group) {
    return {grid->Cells(1, group), grid->Cells(2, group), grid->Cells(3, group)};
}

const QStringList kDefaults = {"Level", "UnHoldable", "Non-Retrigger"};

TEST_F(Groups, TheFirstModeGivesItsGroupsWithDefaultsAndItsPinTable) {
    TForm1& main = start_studio();
    ASSERT_EQ(main.CB_TgMode->Text(), "Key Single");
    EXPECT_EQ(labels(main.SG_GrpList), (QStringList{"Group: 001", "Group: 002", "Group: 003", "Group: 004",
                                                    "Group: 005", "Group: 006", "Group: 007", "Group: 008"}));
    for (int group = 1; group <= 8; ++group) {
        EXPECT_EQ(options(main.SG_GrpList, group), kDefaults);
        EXPECT_EQ(item_list(group), "");
        EXPECT_EQ(main.SG_GrpList->Cells(4, group), "");
    }
    EXPECT_EQ(main.SG_GrpList->FixedRows(), 1);
    EXPECT_EQ(main.SG_GrpList->Row(), 1);
    EXPECT_EQ(main.SG_IOSetting->FixedRows(), 1);
    EXPECT_EQ(main.SG_IOSetting->Cells(0, 0), "Pin");
    EXPECT_EQ(main.SG_IOSetting->Cells(1, 1), "Key 1");
    EXPECT_EQ(main.SG_IOSetting->Cells(10, 1), "Stop");
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 13);
}

TEST_F(Groups, GroupsThatSurviveAModeChangeKeepTheirOptionsAndItems) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav")});
    put_into_group(1);  // group 1: I0001
    select_group(4);
    project_entry(main, record).set_group_options(4, true, true, true);
    put_into_group(2);  // group 4: I0002
    select_group(6);
    project_entry(main, record).set_group_options(6, true, false, false);
    put_into_group(1);  // group 6: I0001

    choose(main.CB_TgMode, "Key Sequential");
    EXPECT_EQ(main.SG_GrpList->RowCount(), 5);
    EXPECT_EQ(main.SG_GrpList->Row(), 1);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 1), "a.wav");
    EXPECT_EQ(item_list(1), "I00011");
    EXPECT_EQ(item_list(4), "I00021");
    EXPECT_EQ(options(main.SG_GrpList, 4), (QStringList{"Edge", "Holdable", "Retrigger"}));
    EXPECT_EQ(main.SG_IOSetting->Cells(1, 1), "Play");
    EXPECT_EQ(main.SG_IOSetting->Cells(10, 1), "");  // every cell of the old table is rewritten

    for (int round = 0; round < 2; ++round) {
        choose(main.CB_TgMode, "Key Single");
        ASSERT_EQ(main.SG_GrpList->RowCount(), 9);
        EXPECT_EQ(main.SG_GrpList->Cells(0, 8), "Group: 008");
        for (int group = 5; group <= 8; ++group) {
            EXPECT_EQ(options(main.SG_GrpList, group), kDefaults) << group;
            EXPECT_EQ(item_list(group), "") << group;
        }
        EXPECT_EQ(item_list(1), "I00011");
        EXPECT_EQ(item_list(4), "I00021");
        EXPECT_EQ(options(main.SG_GrpList, 4), (QStringList{"Edge", "Holdable", "Retrigger"}));
        if (round == 0) choose(main.CB_TgMode, "Key Sequential");
    }
}

TEST_F(Groups, TheSameModeAgainLosesNothingAndSelectsGroupOne) {
    TForm1& main = start_studio();
    add_files({wav("a.wav")});
    select_group(3);
    put_into_group(1);
    put_into_group(1);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 2), "a.wav");
    choose(main.CB_TgMode, "Key Single");
    EXPECT_EQ(main.SG_GrpList->Row(), 1);
    EXPECT_EQ(item_list(3), "I00011I00011");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 1), "");  // the table shows group 1, which is empty
    select_group(3);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 2), "a.wav");
}

TEST_F(Groups, ADeviceOfTheSameDigitReadsTheSameModeFile) {
    TForm1& main = start_studio();
    add_files({wav("a.wav")});
    select_group(8);
    put_into_group(1);
    choose(main.CB_Device, "KOVA10");  // Z1 shares bin/1x1 with Y1
    EXPECT_EQ(main.CB_TgMode->Text(), "Key Single");
    EXPECT_EQ(main.SG_GrpList->RowCount(), 9);
    EXPECT_EQ(item_list(8), "I00011");
    choose(main.CB_Device, "KOVA341");  // bin/6x1: 16 groups
    EXPECT_EQ(main.SG_GrpList->RowCount(), 17);
    EXPECT_EQ(item_list(8), "I00011");
}

TEST_F(Groups, TheSettingsPanelShowsTheOptionsAndWritesThemOnOkOnly) {
    TForm1& main = start_studio();
    project_entry(main, record).set_group_options(2, true, false, true);
    EXPECT_FALSE(main.PL_GrpSet->isVisible());
    EXPECT_TRUE(main.SG_GrpList->isEnabled());
    EXPECT_EQ(options(main.SG_GrpList, 2), (QStringList{"Edge", "UnHoldable", "Retrigger"}));

    right_click_cell(main.SG_GrpList, 0, 2);
    ASSERT_EQ(visible_menu(), main.PM_GrpList);
    ASSERT_TRUE(choose_menu_item(main.PMB_GrpEdit));
    ASSERT_TRUE(main.PL_GrpSet->isVisible());
    EXPECT_FALSE(main.SG_GrpList->isEnabled());
    EXPECT_EQ(main.RG_Lvl->ItemIndex(), 1);
    EXPECT_EQ(main.RG_Hld->ItemIndex(), 0);
    EXPECT_EQ(main.RG_Rtg->ItemIndex(), 1);
    main.RG_Lvl->Button(0)->click();
    main.RG_Hld->Button(1)->click();
    click(main.BT_GrpSetCnl);
    EXPECT_FALSE(main.PL_GrpSet->isVisible());
    EXPECT_TRUE(main.SG_GrpList->isEnabled());
    EXPECT_EQ(options(main.SG_GrpList, 2), (QStringList{"Edge", "UnHoldable", "Retrigger"}));
    EXPECT_EQ(options(main.SG_GrpList, 1), kDefaults);
}

TEST_F(Groups, AModeChangeClosesAnOpenSettingsPanelAsCancelDoes) {
    TForm1& main = start_studio();
    double_click_cell(main.SG_GrpList, 0, 3);
    ASSERT_TRUE(main.PL_GrpSet->isVisible());
    main.RG_Lvl->Button(1)->click();
    choose(main.CB_TgMode, "Key Sequential");
    EXPECT_FALSE(main.PL_GrpSet->isVisible());
    EXPECT_TRUE(main.SG_GrpList->isEnabled());
    EXPECT_EQ(main.SG_GrpList->Row(), 1);
    EXPECT_EQ(options(main.SG_GrpList, 1), kDefaults);
    EXPECT_EQ(options(main.SG_GrpList, 3), kDefaults);

    double_click_cell(main.SG_GrpList, 0, 2);
    main.RG_Rtg->Button(1)->click();
    choose(main.CB_Device, "KOVA3K21");
    EXPECT_FALSE(main.PL_GrpSet->isVisible());
    EXPECT_EQ(options(main.SG_GrpList, 1), kDefaults);
    EXPECT_EQ(options(main.SG_GrpList, 2), kDefaults);
}

TEST_F(Groups, TheGroupTableShowsEachEntryWithItsItemAndBusyFlag) {
    TForm1& main = start_studio();
    add_files({wav("a.wav", 100, at_rate(6000))});
    add_mute("250");
    put_into_group(1);
    put_into_group(2);
    EXPECT_EQ(item_list(1), "I00011I00021");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 1), "a.wav");
    EXPECT_EQ(main.SG_GrpTab->Cells(1, 1), "6000");
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 1), "8-bit PCM");
    EXPECT_EQ(main.SG_GrpTab->Cells(3, 1), "Enable");
    EXPECT_EQ(main.SG_GrpTab->Cells(5, 1), "I00011");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 2), "Mute: 250 mS");
    EXPECT_EQ(main.SG_GrpTab->Cells(1, 2), "--");
    EXPECT_EQ(main.SG_GrpTab->Cells(2, 2), "Mute");

    // Toggling twice restores the entry; an empty row changes nothing.
    double_click_cell(main.SG_GrpTab, 0, 2);
    EXPECT_EQ(item_list(1), "I00011I00020");
    EXPECT_EQ(main.SG_GrpTab->Cells(3, 2), "Disable");
    double_click_cell(main.SG_GrpTab, 0, 5);
    EXPECT_EQ(item_list(1), "I00011I00020");
    double_click_cell(main.SG_GrpTab, 0, 2);
    EXPECT_EQ(item_list(1), "I00011I00021");
    EXPECT_EQ(main.SG_GrpTab->Cells(3, 2), "Enable");

    // An empty file-list row puts nothing in.
    put_into_group(6);
    EXPECT_EQ(item_list(1), "I00011I00021");
}

TEST_F(Groups, TheMenuOfThreeEntriesOffersOnlyTheMovesThatExist) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav"), wav("c.wav")});
    for (int row = 1; row <= 3; ++row) put_into_group(row);

    right_click_cell(main.SG_GrpTab, 0, 5);
    EXPECT_EQ(visible_menu(), nullptr);
    right_click_cell(main.SG_GrpTab, 0, 3);
    ASSERT_EQ(visible_menu(), main.PM_GrpTab);
    EXPECT_TRUE(main.PMB_MoveUp->isEnabled());
    EXPECT_FALSE(main.PMB_MoveDn->isEnabled());
    EXPECT_TRUE(main.PMB_GrpRemove->isEnabled());
    ASSERT_TRUE(choose_menu_item(main.PMB_MoveUp));
    EXPECT_EQ(item_list(1), "I00011I00031I00021");
    EXPECT_EQ(main.SG_GrpTab->Row(), 3);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 3), "b.wav");

    right_click_cell(main.SG_GrpTab, 0, 1);
    ASSERT_EQ(visible_menu(), main.PM_GrpTab);
    EXPECT_FALSE(main.PMB_MoveUp->isEnabled());
    EXPECT_TRUE(main.PMB_MoveDn->isEnabled());
    ASSERT_TRUE(choose_menu_item(main.PMB_MoveDn));
    EXPECT_EQ(item_list(1), "I00031I00011I00021");

    right_click_cell(main.SG_GrpTab, 0, 2);
    ASSERT_TRUE(choose_menu_item(main.PMB_GrpRemove));
    EXPECT_EQ(item_list(1), "I00031I00021");
    EXPECT_EQ(main.SG_GrpTab->Row(), 2);
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 2), "b.wav");
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 13);
    // The header row offers nothing.
    right_click_cell(main.SG_GrpTab, 0, 0);
    EXPECT_EQ(visible_menu(), nullptr);
}

TEST_F(Groups, TwelveAndThirteenEntriesKeepOneEmptyRowAndEveryOtherEntry) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav"), wav("c.wav")});
    QString expected;
    for (int k = 0; k < 12; ++k) {
        put_into_group(k % 3 + 1);
        expected += QString("I000%1").arg(k % 3 + 1) + "1";
    }
    ASSERT_EQ(item_list(1), expected);
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 14);
    EXPECT_EQ(main.SG_GrpTab->Cells(5, 12), "I00031");
    EXPECT_EQ(main.SG_GrpTab->Cells(5, 13), "");

    // Move the last entry up, toggle it, move it down again: only that entry changes.
    right_click_cell(main.SG_GrpTab, 0, 12);
    EXPECT_FALSE(main.PMB_MoveDn->isEnabled());
    ASSERT_TRUE(choose_menu_item(main.PMB_MoveUp));
    double_click_cell(main.SG_GrpTab, 0, 11);
    right_click_cell(main.SG_GrpTab, 0, 11);
    ASSERT_TRUE(choose_menu_item(main.PMB_MoveDn));
    expected.replace(66, 6, "I00030");
    EXPECT_EQ(item_list(1), expected.left(60) + "I00021" + "I00030");
    expected = item_list(1);

    put_into_group(1);
    expected += "I00011";
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 15);
    right_click_cell(main.SG_GrpTab, 0, 1);
    ASSERT_TRUE(choose_menu_item(main.PMB_GrpRemove));
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 14);
    EXPECT_EQ(item_list(1), expected.mid(6));
    EXPECT_EQ(item_list(1).size(), 72);

    // Down to 11 entries the table keeps 13 rows.
    right_click_cell(main.SG_GrpTab, 0, 12);
    ASSERT_TRUE(choose_menu_item(main.PMB_GrpRemove));
    EXPECT_EQ(main.SG_GrpTab->RowCount(), 13);
    EXPECT_EQ(item_list(1), expected.mid(6, 66));
}

TEST_F(Groups, RemovingAFileTakesItsIdOutOfEveryGroupWhateverItsFlag) {
    TForm1& main = start_studio();
    add_files({wav("a.wav"), wav("b.wav")});
    put_into_group(2);
    put_into_group(1);
    put_into_group(2);
    double_click_cell(main.SG_GrpTab, 0, 3);  // the second I0002 disabled
    select_group(3);
    put_into_group(2);
    put_into_group(1);
    EXPECT_EQ(item_list(1), "I00021I00011I00020");
    EXPECT_EQ(item_list(3), "I00021I00011");

    select_group(1);
    select_file(2);
    click(main.BT_Remove);
    EXPECT_EQ(item_list(1), "I00011");
    EXPECT_EQ(item_list(3), "I00011");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 1), "a.wav");
    EXPECT_EQ(main.SG_GrpTab->Cells(0, 2), "");
    EXPECT_EQ(column(main.SG_FileList, 6), QStringList{"I0001"});
}

TEST_F(Groups, TheFileListMenuEnablesWhatTheRowAllows) {
    TForm1& main = start_studio();
    add_files({wav("a.wav")});
    add_mute("20");

    right_click_cell(main.SG_FileList, 0, 2);
    ASSERT_EQ(visible_menu(), main.PM_FileList);
    EXPECT_EQ(main.SG_FileList->Row(), 2);
    EXPECT_FALSE(main.PMB_FilePlay->isEnabled());
    EXPECT_TRUE(main.PMB_FileEdit->isEnabled());
    EXPECT_TRUE(main.PMB_Remove->isEnabled());
    EXPECT_TRUE(main.PMB_FileAdd->isEnabled());
    EXPECT_TRUE(main.PMB_MuteAdd->isEnabled());
    close_menus();

    right_click_cell(main.SG_FileList, 0, 1);
    ASSERT_EQ(visible_menu(), main.PM_FileList);
    EXPECT_TRUE(main.PMB_FilePlay->isEnabled());
    close_menus();

    right_click_cell(main.SG_FileList, 0, 7);
    ASSERT_EQ(visible_menu(), main.PM_FileList);
    EXPECT_FALSE(main.PMB_FilePlay->isEnabled());
    EXPECT_FALSE(main.PMB_FileEdit->isEnabled());
    EXPECT_FALSE(main.PMB_Remove->isEnabled());
    ASSERT_TRUE(choose_menu_item(main.PMB_MuteAdd));
    ASSERT_TRUE(main.GB_MuteTime->isVisible());
    set_mute_time("30");
    EXPECT_EQ(column(main.SG_FileList, 0), (QStringList{"a.wav", "Mute: 20 mS", "Mute: 30 mS"}));

    record.open_answers.push_back({wav("b.wav")});
    right_click_cell(main.SG_FileList, 0, 1);
    ASSERT_TRUE(choose_menu_item(main.PMB_FileAdd));
    right_click_cell(main.SG_FileList, 0, 4);
    ASSERT_TRUE(choose_menu_item(main.PMB_FileEdit));
    EXPECT_EQ(main.SG_FileList->Cells(3, 4), "4-bit ADPCM");
    right_click_cell(main.SG_FileList, 0, 2);
    ASSERT_TRUE(choose_menu_item(main.PMB_Remove));
    EXPECT_EQ(column(main.SG_FileList, 0), (QStringList{"a.wav", "Mute: 30 mS", "b.wav"}));
    // The header row offers nothing.
    right_click_cell(main.SG_FileList, 0, 0);
    EXPECT_EQ(visible_menu(), nullptr);
}

TEST_F(Groups, WithoutADeviceThereIsNoGroupAndGroupOperationsDoNothing) {
    folder.write_setup_ini("[System]\r\nSysChk=0\r\n");
    TForm1& main = start_studio();
    EXPECT_EQ(main.SG_GrpList->RowCount(), 1);
    add_files({wav("a.wav")});
    put_into_group(1);
    EXPECT_EQ(main.SG_GrpList->Cells(5, 0), "ItemList");
    for (int row = 1; row < main.SG_GrpTab->RowCount(); ++row) EXPECT_EQ(main.SG_GrpTab->Cells(5, row), "");
    // Row 0 is no fixed row here, but it is no group either.
    double_click_cell(main.SG_GrpList, 0, 0);
    EXPECT_FALSE(main.PL_GrpSet->isVisible());
    right_click_cell(main.SG_GrpList, 0, 0);
    EXPECT_EQ(visible_menu(), nullptr);
    main.BT_GrpSetOKClick();
    EXPECT_EQ(main.SG_GrpList->Cells(1, 0), "Edge");
    main.PMB_GrpRemoveClick();
    main.SG_GrpTabDblClick();
    EXPECT_EQ(main.SG_GrpList->Cells(5, 0), "ItemList");
    click(main.BT_Remove);
    EXPECT_EQ(column(main.SG_FileList, 0), QStringList{});
}

TEST_F(Groups, TheModeFileIsReadWithItsLimits) {
    const std::string mode_file = folder.file("bin/1x1/1x1.ini");
    std::filesystem::remove(mode_file);
    write_text(mode_file, "[Global]\r\nMaxSec=1000\r\nFixed=5\r\n");
    TForm1& main = start_studio();
    EXPECT_EQ(main.SG_GrpList->RowCount(), 1001);
    EXPECT_EQ(main.SG_GrpList->Cells(0, 1000), "Group: 1000");
    EXPECT_EQ(main.SG_IOSetting->FixedRows(), 1);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 11; ++col) EXPECT_EQ(main.SG_IOSetting->Cells(col, row), "");
    }

    write_text(mode_file, "[Global]\r\nMaxSec=0\r\nFixed=-2\r\n[Line0]\r\nCell10=Last\r\n");
    choose(main.CB_TgMode, "Key Single");
    EXPECT_EQ(main.SG_GrpList->RowCount(), 2);
    EXPECT_EQ(main.SG_IOSetting->FixedRows(), 0);
    EXPECT_EQ(main.SG_IOSetting->Cells(10, 0), "Last");

    write_text(mode_file, "[Global]\r\nMaxSec=0x7FFFFFFF\r\n");
    choose(main.CB_TgMode, "Key Single");
    EXPECT_EQ(main.SG_GrpList->RowCount(), 10000);
    EXPECT_EQ(main.SG_GrpList->Cells(0, 9999), "Group: 9999");
}

}  // namespace
