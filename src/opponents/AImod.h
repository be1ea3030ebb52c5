#pragma once

// The units pass: every living unit moves, takes pick-ups, is kept apart and
// drawn; the opponents decide what to do.
void UpdateUnits();
