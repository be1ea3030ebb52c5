#pragma once

// The units pass: every living unit moves, takes pick-ups, is kept apart and
// drawn; the opponents decide what to do.
void UpdateUnits();
// Steps unit i back from every unit closer than 10 pixels (part of the pass;
// on its own for the benchmark).
void SeparateUnit(int i);
