// Group editing: the group table, the settings panel, the right-click menus.
#include "tform1.h"

void TForm1::RefreshGroupTable(int) {}
void TForm1::SG_GrpListSelectCell(int, int) {}
void TForm1::SG_GrpListDblClick() {}
void TForm1::PMB_GrpEditClick() {}
void TForm1::BT_GrpSetOKClick() {}
void TForm1::BT_GrpSetCnlClick() {}
void TForm1::SG_GrpListMouseDown(Qt::MouseButton, const QPoint&) {}
void TForm1::SG_GrpTabMouseDown(Qt::MouseButton, const QPoint&) {}
void TForm1::SG_FileListMouseDown(Qt::MouseButton, const QPoint&) {}
void TForm1::PMB_GrpRemoveClick() {}
void TForm1::PMB_MoveUpClick() {}
void TForm1::PMB_MoveDnClick() {}
void TForm1::SG_GrpTabDblClick() {}
void TForm1::RemoveSoundItem() {}
void TForm1::PMB_FileAddClick() {}
void TForm1::PMB_MuteAddClick() {}
void TForm1::PMB_FileEditClick() {}
void TForm1::PMB_FilePlayClick() {}
void TForm1::PMB_RemoveClick() {}
