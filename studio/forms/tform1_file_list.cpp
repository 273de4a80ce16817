// The file list: WAV files and mutes, the mute editor, PCM or compression, item ids.
#include "tform1.h"

#include "grid_columns.h"

#include "sound_item_rules.h"
#include "studio_services.h"
#include "wave_header.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

using namespace file_column;

const QString kPcm = "8-bit PCM";
const QString kMute = "Mute";

// The editor box sits this far below the top of the row it edits.
constexpr int kMuteEditorDrop = 40;

// Fixed texts of the two refusals that no language file carries.
const QString kListFullText = "The file list is full: it holds at most 9999 items!";
const QString kPathRefusedText =
    "A file whose path holds a double quote or a line break cannot be added:";

std::string local_path(const QString& path) { return path.toStdString(); }

QString size_text(uint64_t size) { return QString::number(size); }

}  // namespace

void TForm1::BT_ItemCtlClick() { PM_ItemSelect->Popup(BT_ItemCtl->mapToGlobal(QPoint(0, 0)) - QPoint(0, 42)); }

void TForm1::ReselectFileRow() {
    const int row = SG_FileList->Row();
    SG_FileList->SetRow(row + 1);
    SG_FileList->SetRow(row);
}

int TForm1::FirstEmptyFileRow() const {
    int row = 0;
    while (row < SG_FileList->RowCount() && !SG_FileList->Cells(kId, row).isEmpty()) ++row;
    return row;
}

bool TForm1::NextItemId(int row, QString& id) {
    const std::optional<std::string> next = next_item_id(SG_FileList->Cells(kId, row - 1).toStdString());
    if (!next) {
        // Ids have four digits and are never given twice: beyond I9999 nothing more can be added.
        services().message_boxes->show(this, kListFullText, "Error!", MB_OK | MB_ICONERROR);
        return false;
    }
    id = QString::fromStdString(*next);
    return true;
}

void TForm1::PMB_AddClick() {
    const QStringList files = services().file_dialogs->open_files(this, "wav file (*.wav)|*.wav", true);
    if (files.isEmpty()) return;

    int r = FirstEmptyFileRow();
    // The paths listed so far, the files of this choice among them once added: a file chosen twice is refused
    // the second time.
    QSet<QString> listed;
    listed.reserve(r - 1 + files.size());
    for (int row = 1; row < r; ++row) listed.insert(SG_FileList->Cells(kPath, row));
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        if (path_refused(local_path(path))) {
            services().message_boxes->show(this, kPathRefusedText + "\n" + path, "Add File Error!",
                                           MB_OK | MB_ICONERROR);
            continue;
        }
        const std::optional<wave_header> header = read_wave_header(local_path(path));
        if (!header) {
            services().message_boxes->show(this, Msg("Msg006") + "\"" + name + "\"" + Msg("Msg004"),
                                           "Add File Error!", MB_OK | MB_ICONERROR);
            continue;
        }
        if (listed.contains(path)) {
            services().message_boxes->show(this, Msg("Msg003") + "\n" + path, "Error", MB_OK | MB_ICONINFORMATION);
            continue;
        }
        QString id;
        if (!NextItemId(r, id)) break;
        // The new last row comes empty.
        SG_FileList->SetRowCount(SG_FileList->RowCount() + 1);
        SG_FileList->SetCells(kName, r, name);
        SG_FileList->SetCells(kRate, r, QString::number(header->sample_rate));
        SG_FileList->SetCells(kType, r, kPcm);
        SG_FileList->SetCells(kSize, r, size_text(header->data_size));
        SG_FileList->SetCells(kPath, r, path);
        SG_FileList->SetCells(kId, r, id);
        listed.insert(path);
        ++r;
    }

    SG_FileList->SetRow(r - 1 >= 1 ? r - 1 : 1);
    UpdateMemoryUsage();
    ReselectFileRow();
}

void TForm1::PMB_AddMuteClick() {
    if (!GB_MuteTime->isHidden()) return;
    const int r = FirstEmptyFileRow();
    QString id;
    if (!NextItemId(r, id)) return;
    SG_FileList->SetRowCount(SG_FileList->RowCount() + 1);
    SG_FileList->SetCells(kName, r, "");
    SG_FileList->SetCells(kRate, r, "--");
    SG_FileList->SetCells(kType, r, kMute);
    SG_FileList->SetCells(kSize, r, "0");
    SG_FileList->SetCells(kPath, r, "");
    SG_FileList->SetCells(kId, r, id);
    SG_FileList->SetRow(r);
    BT_EditFLClick();
}

void TForm1::SetMuteEditorOpen(bool open) {
    for (QWidget* control : std::initializer_list<QWidget*>{SG_FileList, BT_ItemCtl, BT_EditFL, BT_Remove,
                                                             BT_PlayVoice, CB_ComFmt}) {
        control->setEnabled(!open);
    }
    GB_MuteTime->setVisible(open);
}

void TForm1::BT_EditFLClick() {
    const int row = SG_FileList->Row();
    if (SG_FileList->Cells(kId, row).isEmpty() || !GB_MuteTime->isHidden()) return;
    const QString type = SG_FileList->Cells(kType, row);

    if (type == kMute) {
        MuteOldName = SG_FileList->Cells(kName, row);
        MuteOldPath = SG_FileList->Cells(kPath, row);
        MuteIsNew = MuteOldName.isEmpty();
        SetMuteEditorOpen(true);
        LE_SilTime->SetText(MuteIsNew ? "1" : QString::fromStdString(mute_time_text(MuteOldName.toStdString())));
        // Below the row being edited, within the grid.
        const QRect grid = SG_FileList->geometry();
        const int top = grid.top() + SG_FileList->CellRect(kName, row).top() + kMuteEditorDrop;
        GB_MuteTime->move(GB_MuteTime->x(),
                          std::clamp(top, grid.top(), std::max(grid.top(), grid.bottom() - GB_MuteTime->height())));
        GB_MuteTime->raise();
        LE_SilTime->selectAll();
        LE_SilTime->setFocus();
        return;
    }

    const uint64_t data_size = wave_data_size(local_path(SG_FileList->Cells(kPath, row)));
    if (type == kPcm) {
        SG_FileList->SetCells(kType, row, CB_ComFmt->Text());
        SG_FileList->SetCells(kSize, row, size_text(compressed_size(data_size, CB_ComFmt->ItemIndex())));
    } else {
        SG_FileList->SetCells(kType, row, kPcm);
        SG_FileList->SetCells(kSize, row, size_text(data_size));
    }
    UpdateMemoryUsage();
    RefreshGroupTable(SG_GrpList->Row());
}

void TForm1::BT_RemoveClick() {
    if (SG_FileList->Cells(kId, SG_FileList->Row()).isEmpty()) return;
    RemoveSoundItem();
    UpdateMemoryUsage();
    ReselectFileRow();
}

void TForm1::BT_MuteTimeSetClick() { ApplyMuteTime(); }

void TForm1::LE_SilTimeKeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) ApplyMuteTime();
}

void TForm1::ApplyMuteTime() {
    if (GB_MuteTime->isHidden()) return;
    const QString time = LE_SilTime->Text();
    if (!mute_time_accepted(time.toStdString())) {
        services().message_boxes->show(this, Msg("Msg001"), "Warning!", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int row = SG_FileList->Row();
    const QString name = QString::fromStdString(mute_name(time.toStdString()));
    SG_FileList->SetCells(kName, row, name);
    SG_FileList->SetCells(kPath, row, QString::fromStdString(mute_path(time.toStdString())));

    bool same = false;
    for (int other = 1; other < SG_FileList->RowCount() && !same; ++other)
        same = other != row && SG_FileList->Cells(kName, other) == name;
    if (same) {
        const int answer = services().message_boxes->show(this, Msg("Msg002"), "Error!",
                                                          MB_OKCANCEL | MB_ICONINFORMATION);
        if (answer != IDOK) {
            LE_SilTime->selectAll();
            LE_SilTime->setFocus();
            return;
        }
        RemoveSoundItem();
    }
    SetMuteEditorOpen(false);
    ReselectFileRow();
    RefreshGroupTable(SG_GrpList->Row());
}

void TForm1::BT_MuteTimeCancelClick() {
    if (MuteIsNew) {
        RemoveSoundItem();
    } else {
        // A mute opened with Edit keeps its time and its place in every group.
        const int row = SG_FileList->Row();
        SG_FileList->SetCells(kName, row, MuteOldName);
        SG_FileList->SetCells(kPath, row, MuteOldPath);
    }
    SetMuteEditorOpen(false);
    ReselectFileRow();
    RefreshGroupTable(SG_GrpList->Row());
}

void TForm1::CB_ComFmtChange() {
    const QString format = CB_ComFmt->Text();
    const int index = CB_ComFmt->ItemIndex();
    for (int row = 1; row < SG_FileList->RowCount(); ++row) {
        const QString type = SG_FileList->Cells(kType, row);
        if (type.isEmpty() || type == kMute || type == kPcm) continue;
        SG_FileList->SetCells(kType, row, format);
        const uint64_t data_size = wave_data_size(local_path(SG_FileList->Cells(kPath, row)));
        SG_FileList->SetCells(kSize, row, size_text(compressed_size(data_size, index)));
    }
    UpdateMemoryUsage();
    RefreshGroupTable(SG_GrpList->Row());
}

void TForm1::SG_FileListDblClick() {
    const int row = SG_FileList->Row();
    if (SG_FileList->Cells(kName, row).isEmpty()) return;
    if (GroupSelected()) {
        const int group = SG_GrpList->Row();
        const QString items = SG_GrpList->Cells(group_column::kItemList, group);
        SG_GrpList->SetCells(group_column::kItemList, group, items + SG_FileList->Cells(kId, row) + "1");
    }
    RefreshGroupTable(SG_GrpList->Row());
    UpdateMemoryUsage();
}

void TForm1::SG_FileListSelectCell(int, int row) {
    const bool item = !SG_FileList->Cells(kType, row).isEmpty();
    BT_Remove->setEnabled(item);
    BT_EditFL->setEnabled(item);
    const QString path = SG_FileList->Cells(kPath, row);
    BT_PlayVoice->setEnabled(!path.isEmpty() && !path.startsWith("*Mute"));
}

bool TForm1::FindSoundItem(const QString& id, QString& name, QString& rate, QString& path, QString& type) const {
    for (int row = 0; row < SG_FileList->RowCount(); ++row) {
        if (SG_FileList->Cells(kId, row) != id) continue;
        name = SG_FileList->Cells(kName, row);
        rate = SG_FileList->Cells(kRate, row);
        path = SG_FileList->Cells(kPath, row);
        type = SG_FileList->Cells(kType, row);
        return true;
    }
    return false;
}
