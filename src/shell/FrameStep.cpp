#include "shell/Form1.h"

void FrameStep() {}
