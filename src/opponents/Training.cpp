#include "opponents/Training.h"

void TrainAccuracy(Integer) {}
void TrainRecharge() {}
void TrainBulletSpeed() {}
void TrainMelee(Integer) {}
bool MovementKeyHeld() { return false; }
