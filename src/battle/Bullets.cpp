#include "battle/Bullets.h"

void MoveBullets() {}
void UnitDeathCheck(int) {}
