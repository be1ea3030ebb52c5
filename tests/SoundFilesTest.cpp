// The generated sound files in the build's game folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "sound/DirectSoundMod.h"

namespace {

const int AllIds[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14, 15, 16, 21, 22, 23, 24, 25,
                      26, 27, 28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46};

struct Wav {
    std::string Raw;
    std::vector<int16_t> L, R;
};

uint32_t U32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
    return v;
}
uint32_t U16(const std::string& s, size_t at) { return static_cast<uint8_t>(s[at]) | (static_cast<uint8_t>(s[at + 1]) << 8); }

Wav Read(int id) {
    Wav w;
    std::ifstream f(std::string(DORVIK_GAME_DIR) + "/Sounds/" + SoundFileName(id), std::ios::binary);
    w.Raw.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    for (size_t at = 44; at + 4 <= w.Raw.size(); at += 4) {
        w.L.push_back(static_cast<int16_t>(U16(w.Raw, at)));
        w.R.push_back(static_cast<int16_t>(U16(w.Raw, at + 2)));
    }
    return w;
}

int Peak(const std::vector<int16_t>& s, size_t from, size_t to) {
    int m = 0;
    for (size_t i = from; i < std::min(to, s.size()); i++) m = std::max(m, std::abs(int(s[i])));
    return m;
}

// A build of the tests alone (the sanitizer build) has no generated game folder.
bool Generated() { return std::filesystem::exists(std::string(DORVIK_GAME_DIR) + "/Sounds"); }

}  // namespace

TEST(SoundFiles, HeaderFormatAndLevels) {
    if (!Generated()) GTEST_SKIP() << "no game folder: build game_assets";
    std::set<std::string> distinct;
    for (int id : AllIds) {
        SCOPED_TRACE(SoundFileName(id));
        Wav w = Read(id);
        ASSERT_GT(w.Raw.size(), 44u) << "build the game_assets target first";
        const std::string& s = w.Raw;
        EXPECT_EQ(s.substr(0, 4), "RIFF");
        EXPECT_EQ(U32(s, 4), s.size() - 8);
        EXPECT_EQ(s.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(U32(s, 16), 16u);
        EXPECT_EQ(U16(s, 20), 1u);  // PCM
        EXPECT_EQ(U16(s, 22), 2u);
        EXPECT_EQ(U32(s, 24), 22050u);
        EXPECT_EQ(U32(s, 28), 88200u);
        EXPECT_EQ(U16(s, 32), 4u);
        EXPECT_EQ(U16(s, 34), 16u);
        EXPECT_EQ(s.substr(36, 4), "data");
        EXPECT_EQ(U32(s, 40), s.size() - 44);

        double seconds = w.L.size() / 22050.0;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, id == 22 ? 40 : 17);
        int peak = std::max(Peak(w.L, 0, w.L.size()), Peak(w.R, 0, w.R.size()));
        EXPECT_LE(peak, 30000);  // headroom: nothing clips at full volume
        EXPECT_GE(peak, 8000);   // and nothing is near silent
        // The game starts sounds up to 506 bytes (126 frames) in: that part
        // must be quiet so the attack is not cut.
        EXPECT_LE(std::max(Peak(w.L, 0, 128), Peak(w.R, 0, 128)), 1000);
        distinct.insert(s);
    }
    EXPECT_EQ(distinct.size(), 40u);
    EXPECT_GE(Read(22).L.size(), 20u * 22050);  // the battle music lasts at least 20 s
}

TEST(SoundFiles, LoopsJoinAndOneShotsEndWithoutAClick) {
    if (!Generated()) GTEST_SKIP() << "no game folder: build game_assets";
    for (int id : AllIds) {
        SCOPED_TRACE(SoundFileName(id));
        Wav w = Read(id);
        ASSERT_GT(w.L.size(), 3u);
        size_t n = w.L.size();
        for (const auto* ch : {&w.L, &w.R}) {
            const std::vector<int16_t>& x = *ch;
            if (id == 22 || id == 26 || id == 36) {
                // The last sample flows into the first: the jump and the bend
                // across the seam are no larger than those around it.
                auto at = [&](long i) { return int(x[(i + n) % n]); };
                int jump = 0, bend = 0;
                for (long i = -200; i < 200; i++) {
                    if (i == -1 || i == 0) continue;
                    jump = std::max(jump, std::abs(at(i) - at(i - 1)));
                    bend = std::max(bend, std::abs(at(i + 1) - 2 * at(i) + at(i - 1)));
                }
                EXPECT_LE(std::abs(at(0) - at(-1)), jump + 20);
                EXPECT_LE(std::abs(at(0) - 2 * at(-1) + at(-2)), bend + 20);
                EXPECT_LE(std::abs(at(1) - 2 * at(0) + at(-1)), bend + 20);
            } else {
                EXPECT_LE(std::abs(int(x[n - 1])), 100);
            }
        }
    }
}
