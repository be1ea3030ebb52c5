// The player's four skills, trained only while standing still.
#pragma once

#include "shell/Basic.h"

void TrainAccuracy(Integer hit);
void TrainRecharge();
void TrainBulletSpeed();
void TrainMelee(Integer n);
// True while one of the movement keys is held.
bool MovementKeyHeld();
