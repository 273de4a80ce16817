// The trigger mode's settings file, the I/O settings grid and the group list.
#include "tform1.h"

void TForm1::CB_TgModeChange() {}
