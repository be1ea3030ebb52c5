#pragma once

// The player's actions for one frame: walk orders, bombs, fire modes, firing
// and walking.
void PlayerControl();
// One bullet for unit 0..50 into the first free slot; nothing when all 200 fly.
void FireBullet(int unit);
