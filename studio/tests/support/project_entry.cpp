#include "project_entry.h"

#include "tform1.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

// The row a new item goes to: the first one without an item id.
int project_entry::new_item_row() const {
    int row = 1;
    while (row < form_.SG_FileList->RowCount() && !form_.SG_FileList->Cells(6, row).isEmpty()) ++row;
    return row;
}

void project_entry::choose_setup(const QString& device, const QString& mode, const QString& output,
                                 const QString& format) {
    choose(form_.CB_Device, device);
    choose(form_.CB_TgMode, mode);
    choose(form_.CB_VoutSel, output);
    choose(form_.CB_ComFmt, format);
}

int project_entry::add_wave_file(const QString& path) {
    const int row = new_item_row();
    record_.open_answers.push_back({path});
    click(form_.BT_ItemCtl);
    EXPECT_TRUE(choose_menu_item(form_.PMB_Add));
    EXPECT_TRUE(record_.open_answers.empty()) << "the open dialog was not shown";
    EXPECT_EQ(form_.SG_FileList->Cells(5, row), path);
    EXPECT_EQ(form_.SG_FileList->Cells(3, row), "8-bit PCM");
    return row;
}

void project_entry::open_mute_editor() {
    click(form_.BT_ItemCtl);
    EXPECT_TRUE(choose_menu_item(form_.PMB_AddMute));
    EXPECT_TRUE(form_.GB_MuteTime->isVisible());
}

int project_entry::add_mute(const QString& time_text) {
    const int row = new_item_row();
    open_mute_editor();
    form_.LE_SilTime->selectAll();
    type_text(form_.LE_SilTime, time_text);
    click(form_.BT_MuteTimeSet);
    EXPECT_FALSE(form_.GB_MuteTime->isVisible());
    EXPECT_EQ(form_.SG_FileList->Cells(0, row), "Mute: " + time_text + " mS");
    return row;
}

void project_entry::compress_row(int row) {
    ASSERT_EQ(form_.SG_FileList->Cells(3, row), "8-bit PCM");
    click_cell(form_.SG_FileList, 0, row);
    click(form_.BT_EditFL);
    EXPECT_EQ(form_.SG_FileList->Cells(3, row), form_.CB_ComFmt->Text());
}

void project_entry::put_into_group(int row, int group, bool busy) {
    ASSERT_LT(group, form_.SG_GrpList->RowCount());
    click_cell(form_.SG_GrpList, 0, group);
    ASSERT_EQ(form_.SG_GrpList->Row(), group);
    const QString entries = form_.SG_GrpList->Cells(5, group);
    double_click_cell(form_.SG_FileList, 0, row);
    const QString entry = form_.SG_FileList->Cells(6, row) + "1";
    ASSERT_EQ(form_.SG_GrpList->Cells(5, group), entries + entry);
    if (!busy) {
        // The new entry is the group table's last one; a double click on it switches its busy output off.
        const int table_row = static_cast<int>(entries.size()) / static_cast<int>(entry.size()) + 1;
        double_click_cell(form_.SG_GrpTab, 0, table_row);
        EXPECT_EQ(form_.SG_GrpList->Cells(5, group), entries + entry.chopped(1) + "0");
    }
}

void project_entry::open_group_settings(int group) {
    ASSERT_LT(group, form_.SG_GrpList->RowCount());
    double_click_cell(form_.SG_GrpList, 0, group);
    ASSERT_EQ(form_.SG_GrpList->Row(), group);
    EXPECT_TRUE(form_.PL_GrpSet->isVisible());
}

void project_entry::set_group_options(int group, bool edge, bool hold, bool retrigger) {
    open_group_settings(group);
    click(form_.RG_Lvl->Button(edge ? 1 : 0));
    click(form_.RG_Hld->Button(hold ? 1 : 0));
    click(form_.RG_Rtg->Button(retrigger ? 1 : 0));
    click(form_.BT_GrpSetOK);
    EXPECT_FALSE(form_.PL_GrpSet->isVisible());
    EXPECT_EQ(form_.SG_GrpList->Cells(1, group), edge ? "Edge" : "Level");
    EXPECT_EQ(form_.SG_GrpList->Cells(2, group), hold ? "Holdable" : "UnHoldable");
    EXPECT_EQ(form_.SG_GrpList->Cells(3, group), retrigger ? "Retrigger" : "Non-Retrigger");
}
