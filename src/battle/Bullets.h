#pragma once

// Moves every flying bullet and resolves its hits.
void MoveBullets();
// Turns a unit whose health fell below 1 into a corpse with possible drops.
void UnitDeathCheck(int u);
