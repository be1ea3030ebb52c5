#include "sound/DirectSoundMod.h"

#include "platform/Files.h"
#include "platform/Mixer.h"
#include "shell/Basic.h"
#include "shell/GameState.h"
#include "shell/Loading.h"

namespace {

constexpr int Random = -1;

struct SoundRow {
    int Id;
    const char* File;
    int K;
    int Start;  // bytes, or Random for 0..500
    bool Loop;
};

// In load order.
constexpr SoundRow Table[] = {
    {1, "BulletFire.wav", 0, Random, false},       {2, "BulletFireMiss.wav", -1100, Random, false},
    {3, "Blood.wav", -500, Random, false},         {4, "Health.wav", -500, Random, false},
    {5, "Ammo.wav", -500, Random, false},          {6, "Fight.wav", -1, Random, false},
    {7, "LevelUp.wav", -100, Random, false},       {11, "Damage1.wav", -600, Random, false},
    {12, "Damage2.wav", -600, Random, false},      {13, "Damage3.wav", -600, Random, false},
    {14, "Damage4.wav", -600, Random, false},      {15, "Damage5.wav", -600, Random, false},
    {16, "Damage6.wav", -600, Random, false},      {8, "Buger.wav", -600, Random, false},
    {9, "AirPlane.wav", -100, 502, false},         {21, "Bomb.wav", -200, Random, false},
    {22, "SnowBattle.wav", -200, 506, true},       {23, "MouseOver.wav", -1, 504, false},
    {25, "MenuClick.wav", -1, 505, false},         {26, "MenuAmbient.wav", -1, 505, true},
    {24, "Photo.wav", -1, Random, false},          {27, "AcidPickUp.wav", -1, Random, false},
    {28, "AcidBad1.wav", -1, Random, false},       {29, "AcidBad2.wav", -1, Random, false},
    {31, "AcidGood1.wav", -1, Random, false},      {32, "AcidGood2.wav", -1, Random, false},
    {33, "HighScore1.wav", -1, Random, false},     {34, "HighScore2.wav", -1, Random, false},
    {35, "HighScore3.wav", -1, Random, false},     {36, "Heart.wav", 500, Random, true},
    {37, "Alarm.wav", 100, Random, false},         {38, "BugerHit.wav", 100, Random, false},
    {39, "Sheep1.wav", -900, Random, false},       {40, "Sheep2.wav", -900, Random, false},
    {41, "Sheep3.wav", -900, Random, false},       {42, "InRow1.wav", 200, Random, false},
    {43, "InRow2.wav", 200, Random, false},        {44, "InRow3.wav", 200, Random, false},
    {45, "InRow4.wav", 200, Random, false},        {46, "ScoreMusic.wav", 2, Random, false},
};
constexpr int SoundCount = sizeof Table / sizeof Table[0];
static_assert(SoundCount == 40);

int Buffers[SoundCount];
bool Loaded = false;

int RowOf(int id) {
    for (int i = 0; i < SoundCount; i++)
        if (Table[i].Id == id) return i;
    return -1;
}

// K - 32 * (100 - V) in 16-bit arithmetic: a result outside the range would
// overflow, and that statement is skipped.
void SetAttenuation(int buffer, int K) {
    Long att = K - 32 * (100 - Long(MusicVolume));
    if (att < -32768 || att > 32767) return;
    MixerSetVolume(buffer, att);  // above 0 the device refuses and keeps the old value
}

}  // namespace

void LoadSounds() {
    if (Loaded) FreeSounds();
    // Without a device the buffers are still made: nothing mixes them, so the game is silent.
    MixerOpenDevice();
    for (int i = 0; i < SoundCount; i++) {
        Buffers[i] = MixerLoadWav(GamePath(std::string("\\Sounds\\") + Table[i].File));
        LoadingProgress();
    }
    Loaded = true;
}

void PlaySound(int id, double position) {
    if (SoundOff == 8) return;
    if (OptMono == 8) position = 500;
    Long pan = Whole((100.0 / 700.0 * position) * 20 - 1000);
    int row = Loaded ? RowOf(id) : -1;
    if (row < 0) return;
    const SoundRow& s = Table[row];
    int b = Buffers[row];
    SetAttenuation(b, s.K);
    MixerSetPan(b, pan);
    Long start = s.Start == Random ? Whole(EffectRnd() * 500.0f) : s.Start;
    MixerSetPosition(b, start);
    MixerPlay(b, s.Loop);
}

void PlaySound(const std::string& id, double position) {
    // Text that is not a number fails the conversion: nothing plays.
    std::optional<double> n = ToNumber(id);
    if (!n || *n < -32768.5 || *n > 32767.5) return;
    PlaySound(static_cast<int>(Whole(*n)), position);
}

void StopSound(int id) {
    int row = Loaded ? RowOf(id) : -1;
    if (row >= 0) MixerStop(Buffers[row]);
}

void ResumeLoop(int id, int K) {
    int row = Loaded ? RowOf(id) : -1;
    if (row < 0) return;
    SetAttenuation(Buffers[row], K);
    MixerPlay(Buffers[row], true);
}

void SetMusicVolumes() {
    if (!Loaded) return;
    SetAttenuation(Buffers[RowOf(22)], -100);
    SetAttenuation(Buffers[RowOf(26)], -1);
}

void FreeSounds() {
    // The handles are only read while Loaded.
    if (Loaded)
        for (int b : Buffers) MixerFreeBuffer(b);
    Loaded = false;
    MixerCloseDevice();
}

int SoundBuffer(int id) {
    int row = Loaded ? RowOf(id) : -1;
    return row < 0 ? -1 : Buffers[row];
}

const char* SoundFileName(int id) {
    int row = RowOf(id);
    return row < 0 ? nullptr : Table[row].File;
}
