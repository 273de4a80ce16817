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
bool TForm1::FindSoundItem(const QString&, QString&, QString&, QString&, QString&) const { return false; }
void TForm1::ApplyMuteTime() {}
