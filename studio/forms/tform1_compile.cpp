// The compile pipeline behind the Compile button.
#include "tform1.h"

#include "project_snapshot.h"

void TForm1::BT_CompileClick() {}
int TForm1::WriteScriptFiles() { return -1; }
int TForm1::RunEncoder() { return -1; }
int TForm1::WriteLinkScript() { return -1; }
int TForm1::RunImageBuilder() { return -1; }
int TForm1::WriteCompileReport() { return -1; }
project_snapshot TForm1::ProjectSnapshot() const { return {}; }
