// The map generator's passes and the first-run generation.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/WorkWithMemory.h"
#include "maps/DcEffects.h"
#include "maps/MapGen.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "shell/GameState.h"
#include "support/DrawnText.h"
#include "support/TempDir.h"

namespace {
int Red(const Surface& s, int x, int y) { return GetPixel(s, x, y) & 0xFF; }
int Green(const Surface& s, int x, int y) { return (GetPixel(s, x, y) >> 8) & 0xFF; }

Surface Uniform(int w, int h, COLORREF c) {
    Surface s;
    CreateSurface(s, w, h, c);
    return s;
}

}  // namespace

TEST(DcEffects, DiffuseTakesEachPixelFromZeroToTwoRightAndDown) {
    // Every pixel carries its own coordinates, so the output says where it came from.
    Surface src;
    CreateSurface(src, 60, 60);
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 60; x++) SetPixel(src, x, y, RGB(x, y, 100));
    Surface dst = Uniform(60, 60, 0);
    Diffuse(src, 60, 60, dst, 2);
    int ones = 0, n = 0;
    for (int y = 0; y < 58; y++)
        for (int x = 0; x < 58; x++) {
            ASSERT_EQ(GetPixel(dst, x, y) >> 16, 100) << x << "," << y;  // always a sample of the picture
            const int dx = Red(dst, x, y) - x, dy = Green(dst, x, y) - y;
            ASSERT_GE(dx, 0);
            ASSERT_LE(dx, 2);
            ASSERT_GE(dy, 0);
            ASSERT_LE(dy, 2);
            ones += dx == 1;
            n++;
        }
    EXPECT_NEAR(static_cast<double>(ones) / n, 0.5, 0.05);
}

TEST(DcEffects, DiffuseReadsWhiteBeyondThePictureAndBlackInTheLastColumn) {
    // A region wider than the picture: samples past it read white; the region's
    // own last column is the black border of the buffer.
    Surface src = Uniform(10, 10, RGB(50, 60, 70));
    Surface dst = Uniform(20, 20, RGB(1, 2, 3));
    Diffuse(src, 15, 15, dst, 2);
    bool sawWhite = false;
    for (int y = 0; y < 9; y++) sawWhite |= GetPixel(dst, 9, y) == RGB(255, 255, 255) || GetPixel(dst, 8, y) == RGB(255, 255, 255);
    EXPECT_TRUE(sawWhite);
    for (int y = 0; y < 13; y++) EXPECT_NE(GetPixel(dst, 14, y), RGB(1, 2, 3)) << y;  // column W written too
    EXPECT_EQ(GetPixel(dst, 16, 0), RGB(1, 2, 3));                                    // nothing beyond it
}

TEST(DcEffects, DiffuseSamplesTheBlackLastRowOfTheBuffer) {
    // Row 39 reaches row 40, the buffer's black border, whenever dy is 0.5 or
    // more: three pixels in four (the white picture gives the rest).
    Surface src = Uniform(100, 40, RGB(255, 255, 255));
    Surface dst = Uniform(100, 41, RGB(1, 2, 3));
    Diffuse(src, 100, 40, dst, 2);
    int black = 0;
    for (int x = 2; x < 98; x++) black += GetPixel(dst, x, 39) == 0;
    EXPECT_GT(black, 40);
}

TEST(DcEffects, BlurKeepsUniformAreasAndDarkensTheBorders) {
    Surface s = Uniform(300, 300, RGB(100, 150, 200));
    Blur(s, 300, 300, s, 2);
    EXPECT_EQ(GetPixel(s, 150, 150), RGB(100, 150, 200));
    // At x = 0 only three of the five columns lie in the buffer.
    EXPECT_EQ(GetPixel(s, 0, 150), RGB(60, 90, 120));
    // At the right edge the black last column and the outside take two of five.
    EXPECT_EQ(GetPixel(s, 299, 150), RGB(60, 90, 120));
    // Corner: 3 x 3 of 25 cells.
    EXPECT_EQ(GetPixel(s, 0, 0), RGB(36, 54, 72));
}

TEST(DcEffects, ScaleUpTo304MakesFourDoubleColumnsAndRowsAndCoversEverything) {
    // Alternating stripes: a two-pixel cell shows the blend (100) in its second pixel.
    Surface cols, rows;
    CreateSurface(cols, 300, 300);
    CreateSurface(rows, 300, 300);
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) {
            SetPixel(cols, x, y, RGB(x % 2 ? 200 : 0, 80, 80));
            SetPixel(rows, x, y, RGB(y % 2 ? 200 : 0, 80, 80));
        }
    Surface dc = Uniform(310, 310, RGB(255, 0, 255)), dr = Uniform(310, 310, RGB(255, 0, 255));
    ScaleUp(cols, 300, 300, dc, 304, 304);
    ScaleUp(rows, 300, 300, dr, 304, 304);
    int doubleCols = 0, doubleRows = 0;
    for (int x = 0; x < 304; x++) doubleCols += Red(dc, x, 0) == 100;
    for (int y = 0; y < 304; y++) doubleRows += Red(dr, 0, y) == 100;
    EXPECT_EQ(doubleCols, 4);
    EXPECT_EQ(doubleRows, 4);
    for (int y = 0; y < 310; y++)
        for (int x = 0; x < 310; x++) {
            const bool inside = x < 304 && y < 304;
            ASSERT_EQ(GetPixel(dc, x, y) != RGB(255, 0, 255), inside) << x << "," << y;
        }
}

TEST(DcEffects, AScaleOfOneCopiesAndOutsideThePictureIsWhite) {
    Surface src = Uniform(2, 2, 0), dst = Uniform(3, 3, RGB(9, 9, 9));
    const COLORREF c[2][2] = {{RGB(10, 20, 30), RGB(40, 50, 60)}, {RGB(70, 80, 90), RGB(100, 110, 120)}};
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 2; x++) SetPixel(src, x, y, c[y][x]);
    ScaleUp(src, 3, 3, dst, 3, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 3; x++)
            EXPECT_EQ(GetPixel(dst, x, y), static_cast<int32_t>(x < 2 && y < 2 ? c[y][x] : RGB(255, 255, 255)))
                << x << "," << y;
}

TEST(DcEffects, ScaleUpBlendsTowardsAllFourCorners) {
    // 2 x 2 to 4 x 4: every cell is 2 x 2; only the bottom-right source pixel is lit.
    Surface src = Uniform(2, 2, 0), dst = Uniform(4, 4, RGB(9, 9, 9));
    SetPixel(src, 1, 1, RGB(200, 100, 40));
    ScaleUp(src, 2, 2, dst, 4, 4);
    const int red[4][4] = {{0, 0, 0, 0}, {0, 50, 100, 50}, {0, 100, 200, 100}, {0, 50, 100, 50}};
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) {
            const int r = red[y][x];
            EXPECT_EQ(GetPixel(dst, x, y), static_cast<int32_t>(RGB(r, r / 2, r / 5))) << x << "," << y;
        }
}

TEST(DcEffects, DiffuseStartsBlackWhenItsFirstSampleIsOutside) {
    // A 1 x 1 region: samples two pixels away lie outside the buffer and keep
    // the colour before them, which is black for the first pixel.
    Surface src = Uniform(1, 1, RGB(255, 255, 255));
    for (int i = 0; i < 30; i++) {
        Surface dst = Uniform(2, 2, RGB(9, 9, 9));
        Diffuse(src, 1, 1, dst, 2);
        const int32_t c = GetPixel(dst, 0, 0);
        ASSERT_TRUE(c == 0 || c == static_cast<int32_t>(RGB(255, 255, 255))) << std::hex << c;
    }
}

TEST(DcEffects, DiffuseDrawsFromTheClockNotFromEarlierDraws) {
    Surface src;
    CreateSurface(src, 40, 40);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 40; x++) SetPixel(src, x, y, RGB(x, y, 100));
    auto diffused = [&](uint32_t seed) {
        Surface d = Uniform(40, 40, 0);
        Randomize(seed);  // where earlier draws left the generator
        Diffuse(src, 40, 40, d, 2);
        return d.Pixels;
    };
    UseTestClock(true, 5000);
    const auto first = diffused(0x123400);
    EXPECT_EQ(diffused(0x9ABC00), first);  // the same moment: the same noise
    AdvanceTestClock(777);
    EXPECT_NE(diffused(0x123400), first);
    UseTestClock(false);
}

TEST(MapGen, GeneratesFourBitmapsOnceAndThenNeverAgain) {
    ResetGameState();
    TempGameDir dir;
    const std::string game = dir.Path.string();
    for (int k = 1; k <= 4; k++) {
        Surface photo = Uniform(300, 300, RGB(40 * k, 100, 200 - 30 * k));
        ASSERT_TRUE(SaveJpegFile(game + "/Pictures/Map0" + std::to_string(k) + ".jpg", photo, 90));
    }
    CreateSurface(Field, 300, 300);
    MapsGenerated = 0;
    GenerateMaps();
    EXPECT_EQ(MapsGenerated, 1);
    EXPECT_EQ(LoadingText, "Map 4/4 - ScaleUp");
    for (int k = 1; k <= 4; k++) {
        Surface map;
        ASSERT_TRUE(LoadPictureFile(game + "/Pictures/Map0" + std::to_string(k) + ".bmp", map)) << k;
        EXPECT_EQ(map.Width, 300);
        // The photo's colour survives in the middle; the borders are darkened by the blur.
        EXPECT_NEAR(Red(map, 150, 150), 40 * k, 3);
        int top = 0;
        for (int x = 0; x < 300; x++) top += Red(map, x, 0);
        EXPECT_LT(top / 300, Red(map, 150, 150) - 4);
        std::filesystem::remove(game + "/Pictures/Map0" + std::to_string(k) + ".bmp");
    }
    LoadingText.clear();
    GenerateMaps();
    EXPECT_TRUE(LoadingText.empty());
    EXPECT_FALSE(FileExistsOnDisk(game + "/Pictures/Map01.bmp"));
    ResetGameState();
}

TEST(MapGen, AMapIsItsPhotoThroughTheFourPasses) {
    ResetGameState();
    TempGameDir dir;
    const std::string photo = dir.Path.string() + "/Pictures/Map01.jpg";
    Surface picture;
    CreateSurface(picture, 300, 300);
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) SetPixel(picture, x, y, RGB(x * 7 % 256, y * 3 % 256, (x ^ y) % 256));
    ASSERT_TRUE(SaveJpegFile(photo, picture, 90));
    CreateSurface(Field, 300, 300);
    MainLogo = Uniform(300, 300, 0);
    UseTestClock(true, 5000);
    Randomize(7);
    MapsGenerated = 0;
    GenerateMaps();
    // The last step's text, in capitals, light green and size 10.
    EXPECT_TRUE(DrawnAs(Field, "MAP 4/4 - SCALEUP", 2, 286, 10, false, RGB(0xC0, 0xFF, 0xC0)));

    Surface expected, map;
    Randomize(7);
    ASSERT_TRUE(LoadPictureFile(photo, expected));
    Diffuse(expected, 315, 315, expected, 2);
    Blur(expected, 300, 300, expected, 2);
    Diffuse(expected, 315, 315, expected, 2);
    ScaleUp(expected, 300, 300, expected, 304, 304);
    UseTestClock(false);
    ASSERT_TRUE(LoadPictureFile(dir.Path.string() + "/Pictures/Map01.bmp", map));
    EXPECT_EQ(map.Pixels, expected.Pixels);
    FreeSurface(MainLogo);
    ResetGameState();
}

TEST(MapGen, NewGameKeepsTheTerrainAboutOnceInSix) {
    ResetGameState();
    TempGameDir dir;
    const std::string game = dir.Path.string();
    for (int k = 1; k <= 5; k++)
        ASSERT_TRUE(SaveBmpFile(game + "/Pictures/Map0" + std::to_string(k) + ".bmp", Uniform(300, 300, RGB(k, 0, 0))));
    UseTestClock(true, 1000);
    int kept = 0, seen[6] = {};
    for (int i = 0; i < 600; i++) {
        AdvanceTestClock(17 + i % 5);
        Terain = Uniform(4, 4, RGB(9, 9, 9));
        ChooseNewGameTerrain();
        if (Terain.Width == 4) kept++;
        else seen[Red(Terain, 0, 0)]++;
    }
    UseTestClock(false);
    EXPECT_NEAR(kept, 100, 45);
    for (int k = 1; k <= 5; k++) EXPECT_GT(seen[k], 40) << k;
    ResetGameState();
}
