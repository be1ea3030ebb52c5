// The generated game folder: every picture with its cell layout and clean
// masks after decoding, the unit files, the shipped settings and the clean
// score templates, read back the way the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "graphics/WorkWithMemory.h"
#include "opponents/TextFile.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "shell/GameState.h"

namespace {
const std::string Game = DORVIK_GAME_DIR;

// A masked sheet: cells of w x h, image cell k at (x0 + k*dx, y0 + k*dy), its
// mask at (+mx, +my) from the image cell.
struct Sheet {
    const char* File;
    int Width, Height;
    int CellW, CellH, Cells, Dx, Dy, Mx, My;  // Cells 0: no mask
};

const Sheet Sheets[] = {
    {"MainLogo.jpg", 300, 300, 0, 0, 0, 0, 0, 0, 0},
    {"Loading.jpg", 300, 13, 0, 0, 0, 0, 0, 0, 0},
    {"Logo.jpg", 107, 47, 107, 23, 1, 0, 0, 0, 24},
    {"SliderMenu.jpg", 20, 140, 10, 140, 1, 0, 0, 10, 0},
    {"SliderDrag.jpg", 8, 14, 0, 0, 0, 0, 0, 0, 0},
    {"Layer.jpg", 298, 13, 0, 0, 0, 0, 0, 0, 0},
    {"LayerScore.jpg", 85, 30, 85, 15, 1, 0, 0, 0, 15},
    {"Check.jpg", 16, 8, 0, 0, 0, 0, 0, 0, 0},
    {"ScoreUpDown.jpg", 9, 27, 0, 0, 0, 0, 0, 0, 0},
    {"Help1.jpg", 23, 32, 0, 0, 0, 0, 0, 0, 0},
    {"Help2.jpg", 62, 20, 0, 0, 0, 0, 0, 0, 0},
    {"Help3.jpg", 32, 32, 0, 0, 0, 0, 0, 0, 0},
    {"CursorMenu.jpg", 36, 18, 18, 18, 1, 0, 0, 18, 0},
    {"MainMenu.jpg", 270, 270, 0, 0, 0, 0, 0, 0, 0},
    {"EnterText.jpg", 150, 30, 150, 15, 1, 0, 0, 0, 15},
    {"Player.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL0.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL1.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL2.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL3.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL4.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"AiLVL5.jpg", 1512, 42, 21, 21, 72, 21, 0, 0, 21},
    {"StatusHealth.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"StatusAmmo.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"StatusAccuracy.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"StatusRecharge.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"StatusBulletSpeed.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"StatusMelee.jpg", 300, 20, 0, 0, 0, 0, 0, 0, 0},
    {"Health.jpg", 7 * HealthCells, 7, 0, 0, 0, 0, 0, 0, 0},
    {"Ammo.jpg", 9 * AmmoCells, 7, 0, 0, 0, 0, 0, 0, 0},
    {"Acid.jpg", 7 * AcidCells, 7, 0, 0, 0, 0, 0, 0, 0},
    {"AcidHearth.jpg", 90, 60, 30, 30, 3, 30, 0, 0, 30},
    {"BombIcon.jpg", 60, 30, 30, 30, 1, 0, 0, 30, 0},
    {"BoomDirt.jpg", 128, 64, 64, 64, 1, 0, 0, 64, 0},
    {"Explosion.jpg", 27 * 64, 128, 64, 64, 27, 64, 0, 0, 64},
    {"AirPlane.jpg", 80, 40, 40, 40, 1, 0, 0, 40, 0},
    {"Cleaner.jpg", 100, 64, 50, 64, 1, 0, 0, 50, 0},
    {"CleanLine.jpg", 49, 10 * CleanLineStrips, 0, 0, 0, 0, 0, 0, 0},
    {"Dead.jpg", 40, 20 * DeadVariants, 20, 20, DeadVariants, 0, 20, 20, 0},
    {"CursorFire.jpg", 18, 9, 9, 9, 1, 0, 0, 9, 0},
    {"Foot.jpg", 2, 2, 0, 0, 0, 0, 0, 0, 0},
    {"BulletsOut.jpg", 3 * BulletsOutCell, 22, 3 * BulletsOutCell, 11, 1, 0, 0, 0, 11},
    {"Ovca.jpg", 23 * OvcaFrames, 33, 23, 16, OvcaFrames, 23, 0, 0, 17},
    {"OvcaDead.jpg", 17, 32, 17, 16, 1, 0, 0, 0, 16},
    {"WalkHere.jpg", 20, 40, 20, 20, 1, 0, 0, 0, 20},
    {"InRowBar.jpg", InRowBarWidth, 3, 0, 0, 0, 0, 0, 0, 0},
    {"LogoFull.jpg", 107, 80, 107, 40, 1, 0, 0, 0, 40},
    {"StatusBar.jpg", 300, 78, 0, 0, 0, 0, 0, 0, 0},
    {"Map01.jpg", 300, 300, 0, 0, 0, 0, 0, 0, 0},
    {"Map02.jpg", 300, 300, 0, 0, 0, 0, 0, 0, 0},
    {"Map03.jpg", 300, 300, 0, 0, 0, 0, 0, 0, 0},
    {"Map04.jpg", 300, 300, 0, 0, 0, 0, 0, 0, 0},
    {"Map05.bmp", 300, 300, 0, 0, 0, 0, 0, 0, 0},
};

int MaxChannel(COLORREF c) { return std::max({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}); }
int MinChannel(COLORREF c) { return std::min({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}); }

COLORREF At(const Surface& s, int x, int y) { return s.Pixels[static_cast<size_t>(y) * s.Width + x]; }
}  // namespace

TEST(Artwork, EveryPictureOfTheTableLoadsWithItsSize) {
    // 48 pictures (the loader's 47 surfaces plus the status bar) and five terrains.
    EXPECT_EQ(std::size(Sheets), 53u);
    for (const PictureRow& row : PictureTable) {
        const std::string name = std::string(row.File).substr(10);  // after "\Pictures\"
        EXPECT_TRUE(std::any_of(std::begin(Sheets), std::end(Sheets), [&](const Sheet& s) { return name == s.File; }))
            << name;
    }
    for (const Sheet& sh : Sheets) {
        Surface pic;
        ASSERT_TRUE(LoadPictureFile(Game + "/Pictures/" + sh.File, pic)) << sh.File;
        EXPECT_EQ(pic.Width, sh.Width) << sh.File;
        EXPECT_EQ(pic.Height, sh.Height) << sh.File;
    }
}

TEST(Artwork, EveryMaskCoversExactlyTheSpriteAfterDecoding) {
    for (const Sheet& sh : Sheets) {
        if (sh.Cells == 0) continue;
        Surface pic;
        ASSERT_TRUE(LoadPictureFile(Game + "/Pictures/" + sh.File, pic)) << sh.File;
        int bad = 0, opaque = 0;
        for (int k = 0; k < sh.Cells; k++) {
            int cellOpaque = 0;
            for (int y = 0; y < sh.CellH; y++)
                for (int x = 0; x < sh.CellW; x++) {
                    const int ix = k * sh.Dx + x, iy = k * sh.Dy + y;
                    const COLORREF image = At(pic, ix, iy), mask = At(pic, ix + sh.Mx, iy + sh.My);
                    // An opaque pixel has a black mask and a sprite colour well off black;
                    // elsewhere the mask is white and the image black, so AND then OR leaves no fringe.
                    if (MaxChannel(mask) <= 12) {
                        cellOpaque++;
                        if (MaxChannel(image) < 30) bad++;
                    } else if (MinChannel(mask) < 243 || MaxChannel(image) > 12) {
                        bad++;
                    }
                }
            EXPECT_GT(cellOpaque, 0) << sh.File << " cell " << k << " is empty";
            opaque += cellOpaque;
        }
        EXPECT_EQ(bad, 0) << sh.File;
        EXPECT_GT(opaque, 0) << sh.File;
    }
}

TEST(Artwork, SoldierSheetsDifferAndEachHeadingHasItsOwnPose) {
    std::vector<Surface> sheets(7);
    const char* names[7] = {"Player.jpg", "AiLVL0.jpg", "AiLVL1.jpg", "AiLVL2.jpg", "AiLVL3.jpg", "AiLVL4.jpg", "AiLVL5.jpg"};
    for (int i = 0; i < 7; i++) ASSERT_TRUE(LoadPictureFile(Game + "/Pictures/" + names[i], sheets[i]));
    // Mean colour of heading 0 and the colour of the helmet's top: every sheet
    // stands apart from the others.
    auto look = [](const Surface& s) {
        long r = 0, g = 0, b = 0, n = 0;
        for (int y = 0; y < 21; y++)
            for (int x = 0; x < 21; x++) {
                const COLORREF c = At(s, x, y);
                if (MaxChannel(c) < 30) continue;
                r += c & 0xFF, g += (c >> 8) & 0xFF, b += (c >> 16) & 0xFF, n++;
            }
        const COLORREF h = At(s, 10, 10);
        return std::array<long, 6>{r / n, g / n, b / n, long(h & 0xFF), long((h >> 8) & 0xFF), long((h >> 16) & 0xFF)};
    };
    for (int i = 0; i < 7; i++)
        for (int j = i + 1; j < 7; j++) {
            const auto a = look(sheets[i]), b = look(sheets[j]);
            long d = 0;
            for (int c = 0; c < 6; c++) d += std::abs(a[c] - b[c]);
            EXPECT_GT(d, 80) << names[i] << " " << names[j];
        }
    // The gun points along the heading: the farthest opaque pixel from the
    // centre lies in the heading's direction (within one column of 5 degrees and the pixel grid).
    for (int col = 0; col < 72; col += 9) {
        double best = 0, bx = 0, by = 0;
        for (int y = 0; y < 21; y++)
            for (int x = 0; x < 21; x++)
                if (MaxChannel(At(sheets[0], col * 21 + x, y + 21)) <= 12) {
                    const double dx = x + 0.5 - 10.5, dy = y + 0.5 - 10.5, d = dx * dx + dy * dy;
                    if (d > best) best = d, bx = dx, by = dy;
                }
        const double heading = col * 5 + 2.5, angle = std::atan2(by, bx) * 180 / M_PI;
        double diff = std::fmod(std::fabs(angle - heading) + 360, 360);
        diff = std::min(diff, 360 - diff);
        EXPECT_LT(diff, 20) << "column " << col;
    }
}

TEST(Artwork, UnitFilesReadBackThroughTheUnitLoader) {
    ResetGameState();
    SetAppPath(Game);
    ASSERT_TRUE(LoadUnitFile("DEFAULT"));
    EXPECT_EQ(LoadedSlot, 0);
    const Unit& p = Units[0];
    EXPECT_EQ(p.Active, -1);
    EXPECT_EQ(p.UnitName, "Player");
    EXPECT_EQ(p.Ammo, 20);
    EXPECT_EQ(p.Speed, 10);
    EXPECT_EQ(p.Health, 100);
    EXPECT_EQ(p.Spread, 30);
    EXPECT_EQ(p.Melee, 0);
    EXPECT_EQ(p.BulletSpeed, 3);
    EXPECT_EQ(p.BulletRange, 60);
    EXPECT_EQ(p.Recharge, 15);
    ASSERT_TRUE(LoadUnitFile("LVL1"));
    EXPECT_EQ(LoadedSlot, 1);
    const Unit& o = Units[1];
    EXPECT_EQ(o.Ammo, 10);
    EXPECT_EQ(o.Health, 20);
    EXPECT_EQ(o.BulletRange, 20);
    EXPECT_EQ(o.Recharge, 20);
    // Fixed columns: key padded to 20, one separator, value from column 22.
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(Game + "/OtherFiles/DEFAULT.txt", lines));
    EXPECT_EQ(lines.back(), "END");
    for (size_t i = 0; i + 1 < lines.size(); i++) EXPECT_GE(lines[i].size(), 22u) << lines[i];
    ResetGameState();
}

TEST(Artwork, SettingsAndScoreTemplatesHaveTheGameFormats) {
    std::string options;
    ASSERT_TRUE(ReadWholeFile(Game + "/OtherFiles/Options.txt", options));
    EXPECT_EQ(options, " 0 \r\n 0 \r\n 0 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 80 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n");

    std::string scores;
    ASSERT_TRUE(ReadWholeFile(Game + "/OtherFiles/Temp.txt", scores));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(Game + "/OtherFiles/Temp.txt", lines));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[11], "END");
    EXPECT_EQ(scores.size(), 11 * 122 + 5u);  // CR LF on every line
    for (int i = 0; i < 11; i++) {
        std::string plain = lines[i];
        for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) ^ 0xD3);
        ASSERT_EQ(plain.size(), 120u);
        EXPECT_EQ(plain.substr(5, 2), "K=");
        EXPECT_EQ(plain.substr(10, 3), " T=");
        EXPECT_EQ(plain.substr(38, 4), " MH=");
        EXPECT_EQ(plain.substr(61, 3), "HD=");
        EXPECT_EQ(plain.substr(72, 10), "??????????");
        EXPECT_EQ(plain.substr(82, 3), " N=");
        EXPECT_EQ(plain.substr(0, 5), "     ");  // no score: never shown
        EXPECT_EQ(plain.substr(85), std::string(35, ' '));
    }
    std::string world;
    ASSERT_TRUE(ReadWholeFile(Game + "/OtherFiles/Temp2.txt", world));
    EXPECT_EQ(world, "END\r\n0\r\n01.01.2026\r\n");
}
