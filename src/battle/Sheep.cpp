#include "battle/Sheep.h"

void SheepStep() {}
void SpawnSheep() {}
void SheepDeathCheck(int) {}
