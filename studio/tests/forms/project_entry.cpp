#include "project_entry.h"

#include "ini_file.h"
#include "mode_settings.h"
#include "pipeline_files.h"
#include "program_folder.h"
#include "tform1.h"
#include "wave_header.h"

#include <gtest/gtest.h>

// The group list as the trigger mode's settings give it, when no handler has built it yet.
void project_entry::ensure_groups() {
    TStringGrid& groups = *form_.SG_GrpList;
    if (groups.RowCount() > 1) return;
    const std::string code = form_.GetDeviceCode(form_.CB_Device->Text().toStdString());
    const ini_file settings(ProgramFolder() + mode_settings_file(code, form_.GetTriggerModeCode()));
    const int32_t count = group_count(read_mode_settings(settings).max_sec);
    groups.SetRowCount(count + 1);
    for (int row = 1; row <= count; ++row) {
        groups.SetCells(0, row, QString::asprintf("Group: %03d", row));
        groups.SetCells(1, row, "Level");
        groups.SetCells(2, row, "UnHoldable");
        groups.SetCells(3, row, "Non-Retrigger");
    }
    groups.SetFixedRows(1);
    groups.SetRow(1);
}

// A new item row under the last one, with the next item id; the grid grows by one row.
int project_entry::new_item_row() {
    TStringGrid& files = *form_.SG_FileList;
    int row = 0;
    while (row < files.RowCount() && !files.Cells(6, row).isEmpty()) ++row;
    EXPECT_GT(row, 0);
    const int previous = files.Cells(6, row - 1).mid(1, 4).toInt();
    files.SetRowCount(files.RowCount() + 1);
    files.SetCells(6, row, QString::asprintf("I%04d", previous + 1));
    return row;
}

int project_entry::add_wave_file(const QString& path) {
    EXPECT_EQ(check_wave_format(path.toStdString()), 0) << path.toStdString();
    TStringGrid& files = *form_.SG_FileList;
    const int row = new_item_row();
    files.SetCells(0, row, path.section('/', -1));
    files.SetCells(1, row, QString::number(wave_sample_rate(path.toStdString())));
    files.SetCells(3, row, "8-bit PCM");
    files.SetCells(2, row, QString::number(wave_data_size(path.toStdString())));
    files.SetCells(5, row, path);
    files.SetRow(row);
    form_.UpdateMemoryUsage();
    return row;
}

int project_entry::add_mute(const QString& time_text) {
    TStringGrid& files = *form_.SG_FileList;
    const int row = new_item_row();
    files.SetCells(0, row, "Mute: " + time_text + " mS");
    files.SetCells(1, row, "--");
    files.SetCells(3, row, "Mute");
    files.SetCells(2, row, "0");
    files.SetCells(5, row, "*Mute" + time_text);
    files.SetRow(row);
    return row;
}

void project_entry::compress_row(int row) {
    TStringGrid& files = *form_.SG_FileList;
    ASSERT_EQ(files.Cells(3, row), "8-bit PCM");
    const uint32_t data_size = wave_data_size(files.Cells(5, row).toStdString());
    files.SetCells(3, row, form_.CB_ComFmt->Text());
    files.SetCells(2, row, QString::number(compressed_size(data_size, form_.CB_ComFmt->ItemIndex())));
    form_.UpdateMemoryUsage();
}

void project_entry::put_into_group(int row, int group, bool busy) {
    ensure_groups();
    TStringGrid& groups = *form_.SG_GrpList;
    ASSERT_LT(group, groups.RowCount());
    const QString entry = form_.SG_FileList->Cells(6, row) + (busy ? "1" : "0");
    groups.SetCells(5, group, groups.Cells(5, group) + entry);
    form_.UpdateMemoryUsage();
}

void project_entry::set_group_options(int group, bool edge, bool hold, bool retrigger) {
    ensure_groups();
    TStringGrid& groups = *form_.SG_GrpList;
    ASSERT_LT(group, groups.RowCount());
    groups.SetCells(1, group, edge ? "Edge" : "Level");
    groups.SetCells(2, group, hold ? "Holdable" : "UnHoldable");
    groups.SetCells(3, group, retrigger ? "Retrigger" : "Non-Retrigger");
}
