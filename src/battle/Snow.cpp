#include "battle/Snow.h"

void SnowStep() {}
