// The writer page: load a DAT file, blank-check, program and verify chips.
#include "tform1.h"

void TForm1::B_LoadFileClick() {}
void TForm1::B_BlankCheckClick() {}
void TForm1::B_ProgramClick() {}
void TForm1::B_VerifyClick() {}
void TForm1::DisableWriterControls() {}
void TForm1::EnableWriterControls() {}
void TForm1::ShowWriterResult(int, const QString&) {}
