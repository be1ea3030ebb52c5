// Health packs and ammunition crates on the field.
#pragma once

void HealthPickupsStep();
void AmmoPickupsStep();
// Drops at a dead unit's top-left (x, y); a full table loses its oldest drop.
void SpawnHealthPack(double x, double y);
void SpawnCrate(double x, double y, int bullets);
void ResetPickups();
