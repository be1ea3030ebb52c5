// The play routine: pan, attenuation, start offsets, loops and the text ids.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/Mixer.h"
#include "shell/Basic.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "sound/DirectSoundMod.h"

#include "support/SoundProbe.h"

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
    Randomize(77);
    std::vector<uint32_t> expected;
    for (int i = 0; i < 6; i++) expected.push_back(Whole(Rnd() * 500.0f) / 4 * 4);
    Randomize(77);
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
