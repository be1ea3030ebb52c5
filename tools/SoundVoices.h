// The sounds of the game, grouped by kind; each returns a finished track.
#pragma once

#include "SoundSynth.h"

namespace synth {

// Effects (SoundEffects.cpp).
Track Gunshot();
Track Ricochet();
Track BodyHit();
Track HealthPickup();
Track AmmoPickup();
Track Punch();
Track LevelUpJingle();
Track Pain(int variant);  // 1..6
Track CleanerGrowl();
Track CleanerHit();
Track PropellerDrone();
Track Explosion();
Track MenuHover();
Track MenuClickSound();
Track Shutter();
Track AcidPickupSound();
Track AcidBad(int variant);   // 1..2
Track AcidGood(int variant);  // 1..2
Track Heartbeat();            // loop
Track Siren();
Track Bleat(int variant);     // 1..3
Track StreakTone(int level);  // 1..4

// Music (SoundMusic.cpp).
Track BattleMusic();  // loop
Track MenuAmbience();  // loop
Track Fanfare(int variant);  // 1..3
Track ScoreTune();

}  // namespace synth
