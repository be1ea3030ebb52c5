#pragma once

// Flying blood and the marks it leaves.
void BloodStep();
// count particles at (x, y) flying in direction with a strength; kind 3 melee,
// 4 cleaner.
void SpawnBlood(double x, double y, int count, double direction, int strength);

// Drops the pool holds at once.
constexpr int MaxBlood = 3000;
// Drops still flying (tests, benchmark).
int BloodInFlight();
void ResetBlood();
