// Group editing: the group table, the settings panel, the right-click menus.
#include "tform1.h"

#include "grid_columns.h"

#include "decimal_text.h"
#include "group_item_list.h"

namespace {

using namespace group_column;
using table_column::kEntry;
using table_column::kShown;

void swap_rows(TStringGrid* grid, int first, int second) {
    for (int col = 0; col < kShown; ++col) {
        const QString kept = grid->Cells(col, first);
        grid->SetCells(col, first, grid->Cells(col, second));
        grid->SetCells(col, second, kept);
    }
}

// Every row below `row` moves up one, over it; the last row keeps its texts.
void pull_rows_up(TStringGrid* grid, int row) {
    for (; row < grid->RowCount() - 1; ++row) {
        for (int col = 0; col < grid->ColCount(); ++col) grid->SetCells(col, row, grid->Cells(col, row + 1));
    }
}

// A right click on a row below the header makes it the current row and returns it; any other click returns 0.
int right_clicked_row(TStringGrid* grid, Qt::MouseButton button, const QPoint& point) {
    int col = 0;
    int row = 0;
    if (button != Qt::RightButton || !grid->MouseToCell(point, col, row) || row < 1) return 0;
    grid->SetRow(row);
    return row;
}

}  // namespace

bool TForm1::GroupSelected() const { return SG_GrpList->RowCount() > 1 && SG_GrpList->Row() >= 1; }

void TForm1::RefreshGroupTable(int row) {
    // Without a group row (no device) the table shows nothing.
    const std::string item_list = row >= 1 ? SG_GrpList->Cells(kItemList, row).toStdString() : std::string();
    const std::vector<std::string> entries = item_entries(item_list);
    SG_GrpTab->SetRowCount(group_table_row_count(entries.size()));
    int k = 1;
    for (const std::string& entry : entries) {
        QString name, rate, path, type;
        FindSoundItem(QString::fromStdString(entry.substr(0, 5)), name, rate, path, type);
        SG_GrpTab->SetCells(table_column::kName, k, name);
        SG_GrpTab->SetCells(table_column::kRate, k, rate);
        SG_GrpTab->SetCells(table_column::kType, k, type);
        SG_GrpTab->SetCells(table_column::kBusy, k, QString::fromStdString(busy_text(entry)));
        SG_GrpTab->SetCells(table_column::kSpacer, k, "");
        SG_GrpTab->SetCells(kEntry, k, QString::fromStdString(entry));
        ++k;
    }
    for (; k < SG_GrpTab->RowCount(); ++k) {
        for (int col = 0; col < kShown; ++col) SG_GrpTab->SetCells(col, k, "");
    }
}

void TForm1::WriteBackGroupTable() {
    if (!GroupSelected()) return;
    QString item_list;
    for (int row = 1; row <= SG_GrpTab->RowCount() - 2; ++row) item_list += SG_GrpTab->Cells(kEntry, row);
    SG_GrpList->SetCells(kItemList, SG_GrpList->Row(), item_list);
}

void TForm1::SG_GrpListSelectCell(int, int row) { RefreshGroupTable(row); }

void TForm1::SG_GrpListDblClick() {
    if (!GroupSelected()) return;
    const int row = SG_GrpList->Row();
    RG_Lvl->SetItemIndex(SG_GrpList->Cells(kEdge, row) == "Level" ? 0 : 1);
    RG_Hld->SetItemIndex(SG_GrpList->Cells(kHold, row) == "UnHoldable" ? 0 : 1);
    RG_Rtg->SetItemIndex(SG_GrpList->Cells(kRetrigger, row) == "Non-Retrigger" ? 0 : 1);
    PL_GrpSet->show();
    PL_GrpSet->raise();
    SG_GrpList->setEnabled(false);
}

void TForm1::PMB_GrpEditClick() { SG_GrpListDblClick(); }

void TForm1::BT_GrpSetOKClick() {
    if (GroupSelected()) {
        const int row = SG_GrpList->Row();
        SG_GrpList->SetCells(kEdge, row, RG_Lvl->ItemIndex() == 1 ? "Edge" : "Level");
        SG_GrpList->SetCells(kHold, row, RG_Hld->ItemIndex() == 1 ? "Holdable" : "UnHoldable");
        SG_GrpList->SetCells(kRetrigger, row, RG_Rtg->ItemIndex() == 1 ? "Retrigger" : "Non-Retrigger");
    }
    PL_GrpSet->hide();
    SG_GrpList->setEnabled(true);
}

void TForm1::BT_GrpSetCnlClick() {
    PL_GrpSet->hide();
    SG_GrpList->setEnabled(true);
}

void TForm1::SG_GrpListMouseDown(Qt::MouseButton button, const QPoint& point) {
    const int row = right_clicked_row(SG_GrpList, button, point);
    if (row < 1) return;
    if (!SG_GrpList->Cells(kLabel, row).isEmpty()) PM_GrpList->Popup(SG_GrpList->ClientOrigin() + point);
}

void TForm1::SG_GrpTabMouseDown(Qt::MouseButton button, const QPoint& point) {
    const int row = right_clicked_row(SG_GrpTab, button, point);
    if (row < 1) return;
    PMB_MoveUp->setEnabled(row != 1);
    PMB_MoveDn->setEnabled(!SG_GrpTab->Cells(kEntry, row + 1).isEmpty());
    if (!SG_GrpTab->Cells(table_column::kName, row).isEmpty()) PM_GrpTab->Popup(SG_GrpTab->ClientOrigin() + point);
}

void TForm1::SG_FileListMouseDown(Qt::MouseButton button, const QPoint& point) {
    const int row = right_clicked_row(SG_FileList, button, point);
    if (row < 1) return;
    PMB_Remove->setEnabled(!SG_FileList->Cells(file_column::kId, row).isEmpty());
    PMB_FileEdit->setEnabled(!SG_FileList->Cells(file_column::kType, row).isEmpty());
    PMB_FilePlay->setEnabled(parse_decimal(SG_FileList->Cells(file_column::kRate, row).toStdString()).value_or(0) != 0);
    PM_FileList->Popup(SG_FileList->ClientOrigin() + point);
}

void TForm1::PMB_GrpRemoveClick() {
    const int r = SG_GrpTab->Row();
    // Only an entry row can be removed: the empty rows carry no entry to write back.
    if (!GroupSelected() || SG_GrpTab->Cells(kEntry, r).isEmpty()) return;
    pull_rows_up(SG_GrpTab, r);
    if (SG_GrpTab->RowCount() > kGroupTableLeastRows) SG_GrpTab->SetRowCount(SG_GrpTab->RowCount() - 1);
    WriteBackGroupTable();
    UpdateMemoryUsage();
}

void TForm1::PMB_MoveUpClick() {
    const int r = SG_GrpTab->Row();
    if (!GroupSelected() || r <= 1 || SG_GrpTab->Cells(kEntry, r).isEmpty()) return;
    swap_rows(SG_GrpTab, r, r - 1);
    WriteBackGroupTable();
}

void TForm1::PMB_MoveDnClick() {
    const int r = SG_GrpTab->Row();
    if (!GroupSelected() || SG_GrpTab->Cells(kEntry, r).isEmpty() || SG_GrpTab->Cells(kEntry, r + 1).isEmpty())
        return;
    swap_rows(SG_GrpTab, r, r + 1);
    WriteBackGroupTable();
}

void TForm1::SG_GrpTabDblClick() {
    const int row = SG_GrpTab->Row();
    const std::string entry = SG_GrpTab->Cells(kEntry, row).toStdString();
    if (!GroupSelected() || entry.empty()) return;
    const std::string toggled = toggled_entry(entry);
    SG_GrpTab->SetCells(kEntry, row, QString::fromStdString(toggled));
    SG_GrpTab->SetCells(table_column::kBusy, row, QString::fromStdString(busy_text(toggled)));
    WriteBackGroupTable();
}

void TForm1::RemoveSoundItem() {
    const int selected = SG_FileList->Row();
    const QString id = SG_FileList->Cells(file_column::kId, selected);
    if (id.isEmpty()) return;
    pull_rows_up(SG_FileList, selected);
    SG_FileList->SetRowCount(SG_FileList->RowCount() - 1);

    const std::string removed = id.toStdString();
    for (int row = 1; row < SG_GrpList->RowCount(); ++row) {
        const QString items = SG_GrpList->Cells(kItemList, row);
        if (!items.contains(id)) continue;
        SG_GrpList->SetCells(kItemList, row, QString::fromStdString(remove_item_id(items.toStdString(), removed)));
    }
    RefreshGroupTable(SG_GrpList->Row());
}

void TForm1::PMB_FileAddClick() { PMB_AddClick(); }
void TForm1::PMB_MuteAddClick() { PMB_AddMuteClick(); }
void TForm1::PMB_FileEditClick() { BT_EditFLClick(); }
void TForm1::PMB_FilePlayClick() { BT_PlayVoiceClick(); }
void TForm1::PMB_RemoveClick() { BT_RemoveClick(); }
