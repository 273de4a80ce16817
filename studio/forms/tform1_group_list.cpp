// The trigger mode's settings file, the I/O settings grid and the group list.
#include "tform1.h"

#include "grid_columns.h"

#include "group_item_list.h"
#include "ini_file.h"
#include "mode_settings.h"
#include "program_folder.h"

void TForm1::CB_TgModeChange() {
    const int index = GetDeviceIndex(CB_Device->Text().toStdString());
    if (index < 0) return;
    const std::string mode = GetTriggerModeCode();
    if (mode.empty()) return;
    const std::string key = mode_key(DeviceTable[index].Code, mode);
    const mode_settings settings = read_mode_settings(ini_file(mode_settings_path(ProgramFolder(), key)));

    SG_IOSetting->SetFixedRows(io_fixed_rows(settings.fixed));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < kIoSettingColumns; ++col)
            SG_IOSetting->SetCells(col, row, QString::fromStdString(settings.cells[row][col]));
    }

    const int old_last = SG_GrpList->RowCount() - 1;
    SG_GrpList->SetRowCount(group_count(settings.max_sec) + 1);
    for (int r = 1; r < SG_GrpList->RowCount(); ++r) {
        SG_GrpList->SetCells(group_column::kLabel, r, QString::fromStdString(group_label(r)));
        SG_GrpList->SetCells(group_column::kSpacer, r, "");
        if (r > old_last) {
            // A group the list did not have before; the groups that were there keep options and items.
            SG_GrpList->SetCells(group_column::kEdge, r, "Level");
            SG_GrpList->SetCells(group_column::kHold, r, "UnHoldable");
            SG_GrpList->SetCells(group_column::kRetrigger, r, "Non-Retrigger");
            SG_GrpList->SetCells(group_column::kItemList, r, "");
        }
    }

    // The panel's OK writes into the selected group, which is about to become group 1.
    if (!PL_GrpSet->isHidden()) BT_GrpSetCnlClick();
    SG_GrpList->SetFixedRows(1);
    SG_GrpList->SetRow(1);
    RefreshGroupTable(SG_GrpList->Row());
    UpdateMemoryUsage();
}
