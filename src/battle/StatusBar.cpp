#include "battle/StatusBar.h"

void DrawStatusBar() {}
void StatusBarStep() {}
void ScoreInfoLine() {}
void FireModeIndicator() {}
void KillEvent() {}
void MenuEffects() {}
void ResetBattlefield() {}
