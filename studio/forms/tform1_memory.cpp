// The memory usage estimate: gauge, label and the Compile button's state.
#include "tform1.h"

void TForm1::UpdateMemoryUsage() {}
