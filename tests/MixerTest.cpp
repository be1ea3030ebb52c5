// The software mixer, checked on the samples it produces.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/Mixer.h"

namespace {

struct MixerTest : ::testing::Test {
    void SetUp() override { MixerFreeAll(); }
    void TearDown() override { MixerFreeAll(); }
};

int ConstantBuffer(int16_t left, int16_t right, int frames) {
    std::vector<int16_t> s;
    for (int i = 0; i < frames; i++) {
        s.push_back(left);
        s.push_back(right);
    }
    return MixerCreateBuffer(s);
}

std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(frames * 2, 123);
    MixerMix(out.data(), frames);
    return out;
}

double Db(double a, double b) { return 20 * std::log10(a / b); }

void WriteWav(const std::string& path, int channels, int rate, int bits, const std::vector<int>& samples) {
    std::ofstream f(path, std::ios::binary);
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; i++) f.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    uint32_t dataBytes = samples.size() * bits / 8;
    f << "RIFF";
    put(36 + dataBytes + 12, 4);
    f << "WAVE";
    f << "LIST";  // a chunk the reader must skip
    put(4, 4);
    f << "INFO";
    f << "fmt ";
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * bits / 8, 4);
    put(channels * bits / 8, 2);
    put(bits, 2);
    f << "data";
    put(dataBytes, 4);
    for (int v : samples) put(static_cast<uint32_t>(v), bits / 8);
}

}  // namespace

TEST_F(MixerTest, AttenuationAndPanScaleTheSamples) {
    int b = ConstantBuffer(20000, 20000, 1000);
    ASSERT_GE(b, 0);
    EXPECT_EQ(MixerGetVolume(b), 0);  // never set: the file's own loudness
    ASSERT_TRUE(MixerPlay(b, false));
    auto full = Mix(10);
    EXPECT_EQ(full[0], 20000);
    EXPECT_EQ(full[1], 20000);

    ASSERT_TRUE(MixerSetVolume(b, -600));
    auto quiet = Mix(10);
    EXPECT_NEAR(quiet[0], 20000 * std::pow(10.0, -0.3), 2);  // -6 dB
    EXPECT_NEAR(quiet[1], quiet[0], 1);

    ASSERT_TRUE(MixerSetVolume(b, 0));
    ASSERT_TRUE(MixerSetPan(b, 1000));
    auto right = Mix(10);
    EXPECT_EQ(right[1], 20000);  // the near channel keeps its level
    EXPECT_NEAR(Db(right[0], right[1]), -10.0, 0.01);

    ASSERT_TRUE(MixerSetPan(b, -10000));
    auto left = Mix(10);
    EXPECT_EQ(left[0], 20000);
    EXPECT_LE(std::abs(left[1]), 1);
}

TEST_F(MixerTest, RefusedValuesKeepThePreviousOnes) {
    int b = ConstantBuffer(10000, 10000, 100);
    ASSERT_TRUE(MixerSetVolume(b, -300));
    EXPECT_FALSE(MixerSetVolume(b, 1));
    EXPECT_FALSE(MixerSetVolume(b, -10001));
    EXPECT_EQ(MixerGetVolume(b), -300);
    EXPECT_FALSE(MixerSetPan(b, 10001));
    EXPECT_EQ(MixerGetPan(b), 0);
    EXPECT_FALSE(MixerSetPosition(b, 400));  // past the end
    EXPECT_FALSE(MixerSetVolume(b + 7, -100));
    MixerPlay(b, false);
    EXPECT_NEAR(Mix(1)[0], 10000 * std::pow(10.0, -0.15), 2);
}

TEST_F(MixerTest, PositionStopAndRestart) {
    std::vector<int16_t> ramp;
    for (int i = 0; i < 200; i++) ramp.insert(ramp.end(), {int16_t(i), int16_t(-i)});
    int b = MixerCreateBuffer(ramp);
    ASSERT_TRUE(MixerSetPosition(b, 506));
    EXPECT_EQ(MixerGetPosition(b), 504u);  // rounded down to a whole frame
    MixerPlay(b, false);
    auto out = Mix(3);
    EXPECT_EQ(out[0], 126);
    EXPECT_EQ(out[1], -126);
    MixerStop(b);
    EXPECT_FALSE(MixerIsPlaying(b));
    EXPECT_EQ(Mix(2)[0], 0);
    EXPECT_EQ(MixerGetPosition(b), 129u * 4);  // stop keeps the position
    MixerPlay(b, false);
    EXPECT_EQ(Mix(1)[0], 129);
    // Restart while playing cuts: no second voice.
    MixerSetPosition(b, 40);
    auto cut = Mix(1);
    EXPECT_EQ(cut[0], 10);
    // A single play ends silent, not playing, back at the start.
    auto rest = Mix(200);
    EXPECT_EQ(rest[2 * 188], 199);
    EXPECT_EQ(rest[2 * 189], 0);
    EXPECT_FALSE(MixerIsPlaying(b));
    EXPECT_EQ(MixerGetPosition(b), 0u);
}

TEST_F(MixerTest, LoopWrapsWithoutAGap) {
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; i++) ramp.insert(ramp.end(), {int16_t(i + 1), int16_t(i + 1)});
    int b = MixerCreateBuffer(ramp);
    MixerPlay(b, true);
    // Across several device blocks of odd size.
    std::vector<int16_t> all;
    for (int block = 0; block < 7; block++) {
        auto out = Mix(37);
        all.insert(all.end(), out.begin(), out.end());
    }
    for (int k = 0; k < 7 * 37; k++) ASSERT_EQ(all[2 * k], k % 100 + 1) << k;
    EXPECT_TRUE(MixerIsPlaying(b));
}

TEST_F(MixerTest, FortyVoicesSaturate) {
    for (int i = 0; i < 40; i++) {
        int b = ConstantBuffer(i % 2 ? 30000 : 29000, -30000, 3000);
        MixerPlay(b, false);
    }
    auto out = Mix(2048);  // longer than one internal chunk
    for (int k = 0; k < 2048; k++) {
        ASSERT_EQ(out[2 * k], 32767);
        ASSERT_EQ(out[2 * k + 1], -32768);
    }
}

TEST_F(MixerTest, WavFilesAreConvertedOnLoad) {
    auto dir = std::filesystem::temp_directory_path() / ("dorvik_mixer_wav_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    // 8-bit mono at 11025 Hz: twice as many frames, both channels, 16-bit scale.
    std::vector<int> bytes;
    for (int i = 0; i < 50; i++) bytes.push_back(i % 2 ? 192 : 64);
    WriteWav((dir / "m8.wav").string(), 1, 11025, 8, bytes);
    int b = MixerLoadWav((dir / "m8.wav").string());
    ASSERT_GE(b, 0);
    MixerPlay(b, false);
    auto out = Mix(100);
    EXPECT_EQ(out[0], -16384);
    EXPECT_EQ(out[1], -16384);
    EXPECT_EQ(out[2], 0);  // halfway: linear interpolation
    EXPECT_EQ(out[4], 16384);
    EXPECT_FALSE(MixerIsPlaying(b));

    // 16-bit stereo at the mixer's rate: taken as it is.
    WriteWav((dir / "s16.wav").string(), 2, 22050, 16, {1000, -2000, 3000, -4000});
    b = MixerLoadWav((dir / "s16.wav").string());
    MixerPlay(b, false);
    auto s = Mix(3);
    EXPECT_EQ((std::vector<int16_t>(s.begin(), s.begin() + 6)), (std::vector<int16_t>{1000, -2000, 3000, -4000, 0, 0}));

    // A file cut off in its data keeps the whole frames it has.
    std::vector<int> many(400, 7);
    WriteWav((dir / "cut.wav").string(), 2, 22050, 16, many);
    std::filesystem::resize_file(dir / "cut.wav", std::filesystem::file_size(dir / "cut.wav") - 6);
    b = MixerLoadWav((dir / "cut.wav").string());
    ASSERT_GE(b, 0);
    EXPECT_FALSE(MixerSetPosition(b, 4 * 198));
    EXPECT_TRUE(MixerSetPosition(b, 4 * 197));

    // Not a sound file, or no file: no buffer.
    std::ofstream((dir / "bad.wav").string()) << "RIFF....WAVEjunk";
    EXPECT_EQ(MixerLoadWav((dir / "bad.wav").string()), -1);
    EXPECT_EQ(MixerLoadWav((dir / "none.wav").string()), -1);
    std::filesystem::remove_all(dir);
}

// 8-bit mono at 1000 Hz grows 88 times once converted: 760,000 samples need
// 67,032,000 bytes, just within 64 MB; 761,000 would need 67,120,200.
TEST_F(MixerTest, SoundsNeedingOver64MBAreRefusedBeforeConverting) {
    auto dir = std::filesystem::temp_directory_path() / ("dorvik_mixer_big_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    WriteWav((dir / "fits.wav").string(), 1, 1000, 8, std::vector<int>(760000, 128));
    WriteWav((dir / "over.wav").string(), 1, 1000, 8, std::vector<int>(761000, 128));
    const int b = MixerLoadWav((dir / "fits.wav").string());
    ASSERT_GE(b, 0);
    EXPECT_EQ(MixerBufferFrames(b), 16758000u);
    EXPECT_EQ(MixerLoadWav((dir / "over.wav").string()), -1);
    std::filesystem::remove_all(dir);
}
