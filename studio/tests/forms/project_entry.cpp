#include "project_entry.h"

#include "ini_file.h"
#include "mode_settings.h"
#include "pipeline_files.h"
#include "program_folder.h"
#include "tform1.h"
#include "wave_header.h"

#include <gtest/gtest.h>

namespace {

// The group list as the trigger mode's settings give it, when no handler has built it yet.
void ensure_groups(TForm1& form) {
    TStringGrid& groups = *form.SG_GrpList;
    if (groups.RowCount() > 1) return;
    const std::string code = form.GetDeviceCode(form.CB_Device->Text().toStdString());
    const ini_file settings(ProgramFolder() + mode_settings_file(code, form.GetTriggerModeCode()));
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
int new_item_row(TForm1& form) {
    TStringGrid& files = *form.SG_FileList;
    int row = 0;
    while (row < files.RowCount() && !files.Cells(6, row).isEmpty()) ++row;
    EXPECT_GT(row, 0);
    const int previous = files.Cells(6, row - 1).mid(1, 4).toInt();
    files.SetRowCount(files.RowCount() + 1);
    files.SetCells(6, row, QString::asprintf("I%04d", previous + 1));
    return row;
}

}  // namespace

int add_wave_file(TForm1& form, const QString& path) {
    EXPECT_EQ(check_wave_format(path.toStdString()), 0) << path.toStdString();
    TStringGrid& files = *form.SG_FileList;
    const int row = new_item_row(form);
    files.SetCells(0, row, path.section('/', -1));
    files.SetCells(1, row, QString::number(wave_sample_rate(path.toStdString())));
    files.SetCells(3, row, "8-bit PCM");
    files.SetCells(2, row, QString::number(wave_data_size(path.toStdString())));
    files.SetCells(5, row, path);
    files.SetRow(row);
    form.UpdateMemoryUsage();
    return row;
}

int add_mute(TForm1& form, const QString& time_text) {
    TStringGrid& files = *form.SG_FileList;
    const int row = new_item_row(form);
    files.SetCells(0, row, "Mute: " + time_text + " mS");
    files.SetCells(1, row, "--");
    files.SetCells(3, row, "Mute");
    files.SetCells(2, row, "0");
    files.SetCells(5, row, "*Mute" + time_text);
    files.SetRow(row);
    return row;
}

void compress_row(TForm1& form, int row) {
    TStringGrid& files = *form.SG_FileList;
    ASSERT_EQ(files.Cells(3, row), "8-bit PCM");
    const uint32_t data_size = wave_data_size(files.Cells(5, row).toStdString());
    files.SetCells(3, row, form.CB_ComFmt->Text());
    files.SetCells(2, row, QString::number(compressed_size(data_size, form.CB_ComFmt->ItemIndex())));
    form.UpdateMemoryUsage();
}

void put_into_group(TForm1& form, int row, int group, bool busy) {
    ensure_groups(form);
    TStringGrid& groups = *form.SG_GrpList;
    ASSERT_LT(group, groups.RowCount());
    const QString entry = form.SG_FileList->Cells(6, row) + (busy ? "1" : "0");
    groups.SetCells(5, group, groups.Cells(5, group) + entry);
    form.UpdateMemoryUsage();
}

void set_group_options(TForm1& form, int group, bool edge, bool hold, bool retrigger) {
    ensure_groups(form);
    TStringGrid& groups = *form.SG_GrpList;
    ASSERT_LT(group, groups.RowCount());
    groups.SetCells(1, group, edge ? "Edge" : "Level");
    groups.SetCells(2, group, hold ? "Holdable" : "UnHoldable");
    groups.SetCells(3, group, retrigger ? "Retrigger" : "Non-Retrigger");
}
