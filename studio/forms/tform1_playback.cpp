// Playback of a sound or a whole group after the start sound.
#include "tform1.h"

void TForm1::BT_PlayVoiceClick() {}
void TForm1::PMB_GrpPlayClick() {}
void TForm1::MP_PlayNotify() {}
