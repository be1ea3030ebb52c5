// The play routine: pan, attenuation, start offsets, loops and the text ids.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/Mixer.h"
#include "shell/Basic.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "sound/DirectSoundMod.h"

#include "support/SoundProbe.h"
#include "support/TempDir.h"

namespace {

const int AllIds[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14, 15, 16, 21, 22, 23, 24, 25,
                      26, 27, 28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46};

// One second of a quiet tone per file: enough to test positions and looping.
void WriteSoundFile(const std::filesystem::path& path) { WriteTestWav(path, 22050, 64, 100); }

struct SoundTest : ::testing::Test {
    std::filesystem::path Dir;
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() / ("dorvik_sound_test_" + std::to_string(getpid()));
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir / "Sounds");
        for (int id : AllIds) WriteSoundFile(Dir / "Sounds" / SoundFileName(id));
        SetAppPath(Dir.string());
        ResetGameState();
        MusicVolume = 100;
        SoundOff = 0;
        OptMono = 0;
        Randomize(1234);
        Load();
    }
    void Load() {
        ResetLoadingProgress();
        LoadSounds();
        // The device would mix and move the positions under the test's feet.
        MixerCloseDevice();
    }
    void TearDown() override {
        FreeSounds();
        std::filesystem::remove_all(Dir);
    }
    static int PlayingCount() {
        int n = 0;
        for (int id : AllIds) n += MixerIsPlaying(SoundBuffer(id));
        return n;
    }
};

}  // namespace

TEST_F(SoundTest, LoadsEveryFileWithAProgressStep) {
    EXPECT_EQ(LoadingSteps(), 40);
    for (int id : AllIds) EXPECT_GE(SoundBuffer(id), 0) << id;
    for (int id : {0, 10, 17, 20, 30, 47}) EXPECT_EQ(SoundBuffer(id), -1);
}

TEST_F(SoundTest, PanFollowsThePosition) {
    const std::pair<double, int> figures[] = {{0, -1000}, {350, 0}, {500, 429}, {1000, 1857}};
    for (auto [p, pan] : figures) {
        PlaySound(1, p);
        EXPECT_EQ(MixerGetPan(SoundBuffer(1)), pan) << p;
    }
    // Mono is not centred: everything gets the pan of position 500.
    OptMono = 8;
    for (double p : {0.0, 350.0, 1000.0}) {
        PlaySound(3, p);
        EXPECT_EQ(MixerGetPan(SoundBuffer(3)), 429) << p;
    }
}

TEST_F(SoundTest, AttenuationFollowsTheMasterVolume) {
    PlaySound(2, 500);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(2)), -1100);
    MusicVolume = 0;  // SoundOff not yet set by the options screen
    PlaySound(2, 500);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(2)), -1100 - 3200);
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(2)));

    // Heart has K = +500: never set plays at 0; above 0 is refused and the
    // previous value kept, yet the sound still plays.
    MusicVolume = 100;
    PlaySound(36, 500);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(36)), 0);
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(36)));
    MusicVolume = 50;
    PlaySound(36, 500);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(36)), 500 - 1600);
    MusicVolume = 90;
    PlaySound(36, 0);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(36)), -1100);
    EXPECT_EQ(MixerGetPan(SoundBuffer(36)), -1000);

    MusicVolume = 50;
    SetMusicVolumes();
    EXPECT_EQ(MixerGetVolume(SoundBuffer(22)), -100 - 1600);
    EXPECT_EQ(MixerGetVolume(SoundBuffer(26)), -1 - 1600);
}

TEST_F(SoundTest, IdsWithoutASoundAndSoundOffPlayNothing) {
    PlaySound(10, 500);
    PlaySound(0, 500);
    PlaySound(47, 500);
    PlaySound("x", 500);
    EXPECT_EQ(PlayingCount(), 0);
    PlaySound("38", 500);
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(38)));
    EXPECT_EQ(MixerGetVolume(SoundBuffer(38)), 0);  // K = +100 refused at V = 100
    EXPECT_EQ(PlayingCount(), 1);
    PlaySound("1" + std::to_string(4), 500);
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(14)));

    FreeSounds();
    Load();
    SoundOff = 8;
    PlaySound(1, 500);
    PlaySound(22, 500);
    EXPECT_EQ(PlayingCount(), 0);
}

TEST_F(SoundTest, EachShotRestartsFromANewRandomOffset) {
    // The start comes from the effects' generator: sound never moves the battle's.
    RandomizeEffects(77);
    std::vector<uint32_t> expected;
    for (int i = 0; i < 6; i++) expected.push_back(Whole(EffectRnd() * 500.0f) / 4 * 4);
    RandomizeEffects(77);
    Randomize(5);
    std::vector<int16_t> block(2 * 300);
    for (int i = 0; i < 6; i++) {
        PlaySound(1, 500);
        EXPECT_EQ(MixerGetPosition(SoundBuffer(1)), expected[i]) << i;
        MixerMix(block.data(), 300);  // a frame passes
    }
    EXPECT_NE(expected[0], expected[1]);
    // Fixed offsets: the aeroplane at 502, the menu sounds at 504 and 505.
    PlaySound(9, 500);
    EXPECT_EQ(MixerGetPosition(SoundBuffer(9)), 500u);
    PlaySound(25, 500);
    EXPECT_EQ(MixerGetPosition(SoundBuffer(25)), 504u);
}

TEST_F(SoundTest, BattleMusicRestartsOrResumes) {
    int b = SoundBuffer(22);
    PlaySound(22, 500);
    EXPECT_EQ(MixerGetVolume(b), -200);
    EXPECT_EQ(MixerGetPosition(b), 504u);  // 506 rounded to a whole frame
    std::vector<int16_t> block(2 * 30000);
    MixerMix(block.data(), 30000);  // longer than the file: it loops
    EXPECT_TRUE(MixerIsPlaying(b));
    uint32_t where = MixerGetPosition(b);
    EXPECT_EQ(where, (126u + 30000u) % 22050u * 4);

    StopSound(22);
    EXPECT_FALSE(MixerIsPlaying(b));
    EXPECT_EQ(MixerGetPosition(b), where);
    ResumeLoop(22, -100);
    EXPECT_TRUE(MixerIsPlaying(b));
    EXPECT_EQ(MixerGetPosition(b), where);
    EXPECT_EQ(MixerGetVolume(b), -100);
    MixerMix(block.data(), 30000);
    EXPECT_TRUE(MixerIsPlaying(b));  // resumed as a loop

    StopSound(22);
    PlaySound(22, 500);
    EXPECT_EQ(MixerGetPosition(b), 504u);
    EXPECT_EQ(MixerGetVolume(b), -200);

    // One-shots end; the heartbeat and menu music keep going.
    PlaySound(1, 500);
    PlaySound(26, 500);
    PlaySound(36, 500);
    MixerMix(block.data(), 30000);
    EXPECT_FALSE(MixerIsPlaying(SoundBuffer(1)));
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(26)));
    EXPECT_TRUE(MixerIsPlaying(SoundBuffer(36)));
    PlaySound(1, 500);  // the first sound of the table stops like any other
    StopSound(1);
    EXPECT_FALSE(MixerIsPlaying(SoundBuffer(1)));
}

TEST_F(SoundTest, MissingFilesAndNoLoadAreSilent) {
    FreeSounds();
    PlaySound(1, 500);  // before loading: nothing, no crash
    StopSound(22);
    ResumeLoop(26, -1);
    std::filesystem::remove(Dir / "Sounds" / "Bomb.wav");
    Load();
    EXPECT_EQ(LoadingSteps(), 40);
    EXPECT_EQ(SoundBuffer(21), -1);
    PlaySound(21, 500);
    EXPECT_EQ(PlayingCount(), 0);
    PlaySound(22, 500);
    EXPECT_EQ(PlayingCount(), 1);
}

TEST(SoundTable, IdsFilesLoudnessStartsAndLoops) {
    constexpr int Random = -1;
    struct Row {
        int Id;
        const char* File;
        int K, Start;
        bool Loop;
    };
    const Row table[] = {
        {1, "BulletFire.wav", 0, Random, false},     {2, "BulletFireMiss.wav", -1100, Random, false},
        {3, "Blood.wav", -500, Random, false},       {4, "Health.wav", -500, Random, false},
        {5, "Ammo.wav", -500, Random, false},        {6, "Fight.wav", -1, Random, false},
        {7, "LevelUp.wav", -100, Random, false},     {8, "Buger.wav", -600, Random, false},
        {9, "AirPlane.wav", -100, 502, false},       {11, "Damage1.wav", -600, Random, false},
        {12, "Damage2.wav", -600, Random, false},    {13, "Damage3.wav", -600, Random, false},
        {14, "Damage4.wav", -600, Random, false},    {15, "Damage5.wav", -600, Random, false},
        {16, "Damage6.wav", -600, Random, false},    {21, "Bomb.wav", -200, Random, false},
        {22, "SnowBattle.wav", -200, 506, true},     {23, "MouseOver.wav", -1, 504, false},
        {24, "Photo.wav", -1, Random, false},        {25, "MenuClick.wav", -1, 505, false},
        {26, "MenuAmbient.wav", -1, 505, true},      {27, "AcidPickUp.wav", -1, Random, false},
        {28, "AcidBad1.wav", -1, Random, false},     {29, "AcidBad2.wav", -1, Random, false},
        {31, "AcidGood1.wav", -1, Random, false},    {32, "AcidGood2.wav", -1, Random, false},
        {33, "HighScore1.wav", -1, Random, false},   {34, "HighScore2.wav", -1, Random, false},
        {35, "HighScore3.wav", -1, Random, false},   {36, "Heart.wav", 500, Random, true},
        {37, "Alarm.wav", 100, Random, false},       {38, "BugerHit.wav", 100, Random, false},
        {39, "Sheep1.wav", -900, Random, false},     {40, "Sheep2.wav", -900, Random, false},
        {41, "Sheep3.wav", -900, Random, false},     {42, "InRow1.wav", 200, Random, false},
        {43, "InRow2.wav", 200, Random, false},      {44, "InRow3.wav", 200, Random, false},
        {45, "InRow4.wav", 200, Random, false},      {46, "ScoreMusic.wav", 2, Random, false},
    };
    TempGameDir dir;
    ResetGameState();
    // Each file has a length of its own: 600 + id frames.
    auto frames = [](int id) { return 600u + id; };
    for (const Row& r : table) WriteTestWav(dir.Path / "Sounds" / r.File, frames(r.Id), 64, 100);
    LoadSounds();
    MixerCloseDevice();
    MusicVolume = 50;  // K - 1600: every K shows, the positive ones too
    std::vector<int16_t> block(2 * 800);
    for (const Row& r : table) {
        SCOPED_TRACE(r.File);
        const int b = SoundBuffer(r.Id);
        ASSERT_GE(b, 0);
        EXPECT_TRUE(MixerSetPosition(b, (frames(r.Id) - 1) * 4));
        EXPECT_FALSE(MixerSetPosition(b, frames(r.Id) * 4));
        for (int seed : {5, 6}) {
            RandomizeEffects(seed);
            const uint32_t random = static_cast<uint32_t>(std::nearbyint(EffectRnd() * 500.0));
            RandomizeEffects(seed);
            Randomize(99);
            const uint32_t battle = RndState();
            PlaySound(r.Id, 500);
            EXPECT_EQ(RndState(), battle);
            // Positions fall on whole 4-byte frames.
            EXPECT_EQ(MixerGetPosition(b), (r.Start == Random ? random : r.Start) / 4 * 4) << seed;
        }
        EXPECT_EQ(MixerGetVolume(b), r.K - 1600);
        MixerMix(block.data(), 800);  // longer than every file
        EXPECT_EQ(MixerIsPlaying(b), r.Loop);
        MixerStop(b);
    }
    for (int id : {0, 10, 17, 18, 19, 20, 30, 47, 48, 100, -1}) {
        EXPECT_EQ(SoundBuffer(id), -1) << id;
        PlaySound(id, 500);
    }
    for (const Row& r : table) EXPECT_FALSE(MixerIsPlaying(SoundBuffer(r.Id))) << r.File;
    FreeSounds();
}
