#include "opponents/AImod.h"

void UpdateUnits() {}
