#include "shell/Loading.h"

static int Steps = 0;
void LoadingProgress() { Steps++; }
void ResetLoadingProgress() { Steps = 0; }
int LoadingSteps() { return Steps; }
