#include "Sounds.h"

#include <functional>

#include "SoundVoices.h"

using namespace synth;

namespace {

struct SoundFile {
    const char* Name;
    std::function<Track()> Make;
    bool Loop;
};

}  // namespace

bool GenerateSounds(const std::string& soundsDir) {
    const SoundFile files[] = {
        {"BulletFire.wav", Gunshot, false},
        {"BulletFireMiss.wav", Ricochet, false},
        {"Blood.wav", BodyHit, false},
        {"Health.wav", HealthPickup, false},
        {"Ammo.wav", AmmoPickup, false},
        {"Fight.wav", Punch, false},
        {"LevelUp.wav", LevelUpJingle, false},
        {"Damage1.wav", [] { return Pain(1); }, false},
        {"Damage2.wav", [] { return Pain(2); }, false},
        {"Damage3.wav", [] { return Pain(3); }, false},
        {"Damage4.wav", [] { return Pain(4); }, false},
        {"Damage5.wav", [] { return Pain(5); }, false},
        {"Damage6.wav", [] { return Pain(6); }, false},
        {"Buger.wav", CleanerGrowl, false},
        {"AirPlane.wav", PropellerDrone, false},
        {"Bomb.wav", Explosion, false},
        {"SnowBattle.wav", BattleMusic, true},
        {"MouseOver.wav", MenuHover, false},
        {"MenuClick.wav", MenuClickSound, false},
        {"MenuAmbient.wav", MenuAmbience, true},
        {"Photo.wav", Shutter, false},
        {"AcidPickUp.wav", AcidPickupSound, false},
        {"AcidBad1.wav", [] { return AcidBad(1); }, false},
        {"AcidBad2.wav", [] { return AcidBad(2); }, false},
        {"AcidGood1.wav", [] { return AcidGood(1); }, false},
        {"AcidGood2.wav", [] { return AcidGood(2); }, false},
        {"HighScore1.wav", [] { return Fanfare(1); }, false},
        {"HighScore2.wav", [] { return Fanfare(2); }, false},
        {"HighScore3.wav", [] { return Fanfare(3); }, false},
        {"Heart.wav", Heartbeat, true},
        {"Alarm.wav", Siren, false},
        {"BugerHit.wav", CleanerHit, false},
        {"Sheep1.wav", [] { return Bleat(1); }, false},
        {"Sheep2.wav", [] { return Bleat(2); }, false},
        {"Sheep3.wav", [] { return Bleat(3); }, false},
        {"InRow1.wav", [] { return StreakTone(1); }, false},
        {"InRow2.wav", [] { return StreakTone(2); }, false},
        {"InRow3.wav", [] { return StreakTone(3); }, false},
        {"InRow4.wav", [] { return StreakTone(4); }, false},
        {"ScoreMusic.wav", ScoreTune, false},
    };
    bool ok = true;
    for (const SoundFile& f : files) {
        // One-shots get 8 ms of silence in front: the game starts them up to
        // 506 bytes (126 frames) in. Loops carry their quiet start themselves.
        ok = WriteWav(soundsDir + "/" + f.Name, f.Make(), f.Loop ? 0.0 : 0.008) && ok;
    }
    return ok;
}
