#pragma once

void SheepStep();
void SpawnSheep();
void SheepDeathCheck(int s);
