#include "menus/Options.h"

void LoadSaveOptions(bool) {}
void SetDisplayMode(bool) {}
