// The file list: WAV files and mutes, the mute editor, PCM or compression, item ids.
#include "tform1.h"

void TForm1::BT_ItemCtlClick() {}
void TForm1::PMB_AddClick() {}
void TForm1::PMB_AddMuteClick() {}
void TForm1::BT_EditFLClick() {}
void TForm1::BT_RemoveClick() {}
void TForm1::BT_MuteTimeSetClick() {}
void TForm1::LE_SilTimeKeyUp(int) {}
void TForm1::BT_MuteTimeCancelClick() {}
void TForm1::CB_ComFmtChange() {}
void TForm1::SG_FileListDblClick() {}
void TForm1::SG_FileListSelectCell(int, int) {}
bool TForm1::FindSoundItem(const QString& id, QString& name, QString& rate, QString& path, QString& type) const {
    for (int row = 0; row < SG_FileList->RowCount(); ++row) {
        if (SG_FileList->Cells(6, row) != id) continue;
        name = SG_FileList->Cells(0, row);
        rate = SG_FileList->Cells(1, row);
        path = SG_FileList->Cells(5, row);
        type = SG_FileList->Cells(3, row);
        return true;
    }
    return false;
}
void TForm1::ApplyMuteTime() {}
