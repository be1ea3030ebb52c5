// Health packs and ammunition crates on the field.
#pragma once

void HealthPickupsStep();
void AmmoPickupsStep();
void SpawnHealthPack(double x, double y);
void SpawnCrate(double x, double y, int bullets);
