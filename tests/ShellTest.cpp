// The shell: blended copies, the debug line, picture loading and the frame
// and menu passes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/DebugLine.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "support/TempDir.h"

namespace {
// A 24-bit bitmap of one colour, written by hand so the test needs nothing else.
void WriteBmp(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    int stride = (w * 3 + 3) & ~3;
    uint32_t size = 54 + stride * h;
    std::string d(size, '\0');
    auto put32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; i++) d[at + i] = char((v >> (8 * i)) & 0xFF); };
    d[0] = 'B';
    d[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    d[26] = 1;
    d[28] = 24;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int at = 54 + y * stride + x * 3;
            d[at] = char(b);
            d[at + 1] = char(g);
            d[at + 2] = char(r);
        }
    std::ofstream(path, std::ios::binary) << d;
}
}  // namespace

TEST(BlendBlit, AlphaFromPercent) {
    Surface src, dst;
    CreateSurface(src, 4, 4, RGB(255, 255, 255));
    for (auto [percent, alpha] : {std::pair{50, 128}, {55, 141}, {60, 154}, {64, 164}}) {
        CreateSurface(dst, 4, 4, RGB(0, 0, 0));
        BlendBlit(src, 0, 0, 4, 4, dst, 0, 0, 4, 4, percent);
        EXPECT_EQ(GetPixel(dst, 1, 1), static_cast<int32_t>(RGB(alpha, alpha, alpha))) << percent;
    }
    // Source over destination: 50 % of red over blue.
    CreateSurface(src, 2, 2, RGB(200, 0, 0));
    CreateSurface(dst, 2, 2, RGB(0, 0, 100));
    BlendBlit(src, 0, 0, 2, 2, dst, 0, 0, 2, 2, 50);
    EXPECT_EQ(GetPixel(dst, 0, 0), static_cast<int32_t>(RGB(100, 0, 50)));
    // 100 % does not fit a byte: nothing is drawn.
    BlendBlit(src, 0, 0, 2, 2, dst, 0, 0, 2, 2, 100);
    EXPECT_EQ(GetPixel(dst, 0, 0), static_cast<int32_t>(RGB(100, 0, 50)));
}

TEST(DebugLine, FreeMemoryShareAndMegabytes) {
    std::string line = DebugMemoryLine(512ull << 20, 200ull << 20);
    EXPECT_EQ(line, "Ram:39%(204 Mb)                         ");
    EXPECT_EQ(line.size(), 40u);
}

TEST(LoadPictures, FortySixStepsAndEachFileToItsSurface) {
    TempGameDir dir;
    ResetGameState();
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    CreateSurface(StatusField, 300, 78);
    ResetLoadingProgress();
    LoadPictures();
    EXPECT_EQ(LoadingSteps(), 46);  // no files at all: still every step, nothing crashes
    EXPECT_EQ(MainLogo.Width, 0);

    // Every picture a size of its own, so a mix-up shows.
    for (int i = 0; i < 47; i++) {
        std::string rel = PictureTable[i].File;
        for (auto& c : rel) if (c == '\\') c = '/';
        WriteBmp(dir.File(rel.substr(1)), i + 1, 2, 10, 20, 30);
    }
    for (int n = 1; n <= 5; n++) WriteBmp(dir.File("Pictures/Map0" + std::to_string(n) + ".bmp"), 300, 300, 9, 9, 9);
    ResetLoadingProgress();
    LoadPictures();
    EXPECT_EQ(LoadingSteps(), 46);
    for (int i = 0; i < 47; i++) EXPECT_EQ(PictureTable[i].Target->Width, i + 1) << PictureTable[i].File;
    EXPECT_EQ(GetPixel(Terain, 5, 5), static_cast<int32_t>(RGB(9, 9, 9)));
    EXPECT_EQ(std::string(PictureTable[0].File), "\\Pictures\\MainLogo.jpg");
    EXPECT_EQ(std::string(PictureTable[46].File), "\\Pictures\\LogoFull.jpg");
    FreePictures();
    EXPECT_EQ(LogoFull.Width, 0);
}

TEST(LoadPictures, StartTerrainIsOneOfTheFiveMaps) {
    TempGameDir dir;
    ResetGameState();
    CreateSurface(Field, 300, 300);
    CreateSurface(StatusField, 300, 78);
    for (int n = 1; n <= 5; n++) WriteBmp(dir.File("Pictures/Map0" + std::to_string(n) + ".bmp"), 4, 4, n, 0, 0);
    UseTestClock(true, 1000);
    int seen[6] = {};
    for (int i = 0; i < 150; i++) {
        AdvanceTestClock(17 + i % 5);
        CreateSurface(Terain, 4, 4, RGB(99, 0, 0));
        LoadPictures();
        const int red = GetPixel(Terain, 0, 0) & 0xFF;
        ASSERT_TRUE(red >= 1 && red <= 5) << red;
        seen[red]++;
    }
    UseTestClock(false);
    for (int n = 1; n <= 5; n++) EXPECT_GT(seen[n], 10) << n;
    // The memory figures of the debug line are measured here.
    MemStatus = {};
    LoadPictures();
    EXPECT_GT(MemStatus.TotalPhys, 0u);
    FreePictures();
}

namespace {
void FramePrep() {
    ResetGameState();
    UseTestClock(true, 100000);
    TestReleaseAllKeys();
    CreateSurface(Field, 300, 300, RGB(1, 2, 3));
    CreateSurface(Terain, 300, 300, RGB(200, 100, 50));
    CreateSurface(MenuField, 300, 300, RGB(0, 0, 0));
    CreateSurface(StatusField, 300, 78);
    GameRunning = -1;
    // Only the repaint itself: every effect that draws over the field is off.
    OptSnow = OptBloodFly = OptBloodStays = OptFootSteps = OptScoreInfo = OptKillsInRow = 8;
}
}  // namespace

TEST(FrameStep, RepaintsFromTerrainPlainOrBlended) {
    FramePrep();
    OptAlphaBlend = 8;
    OptBulletFly = 8;
    FrameStep();
    EXPECT_EQ(GetPixel(Field, 150, 150), static_cast<int32_t>(RGB(200, 100, 50)));
    FramePrep();
    OptAlphaBlend = 0;
    OptBulletFly = 8;
    CreateSurface(Field, 300, 300, RGB(0, 0, 0));
    FrameStep();
    EXPECT_EQ(GetPixel(Field, 150, 150), static_cast<int32_t>(RGB(100, 50, 25)));  // half of the last frame stays
    FrameStep();
    EXPECT_EQ(GetPixel(Field, 150, 150), static_cast<int32_t>(RGB(150, 75, 38)));
}

TEST(FrameStep, ShakeLeavesTheUncoveredEdgeAsItWas) {
    FramePrep();
    OptAlphaBlend = 8;
    OptBulletFly = 8;
    ShakeActive = -1;
    bool sawShift = false;
    for (int i = 0; i < 20; i++) {
        CreateSurface(Field, 300, 300, RGB(7, 7, 7));
        FrameStep();
        // The shift is 0 or 1 pixel up and left: the right column and the
        // bottom row may keep the old picture, the top-left never.
        EXPECT_EQ(GetPixel(Field, 0, 0), static_cast<int32_t>(RGB(200, 100, 50)));
        if (GetPixel(Field, 299, 150) == static_cast<int32_t>(RGB(7, 7, 7)) ||
            GetPixel(Field, 150, 299) == static_cast<int32_t>(RGB(7, 7, 7)))
            sawShift = true;
    }
    EXPECT_TRUE(sawShift);
}

TEST(FrameStep, CursorTrailStartsAtTheOrigin) {
    FramePrep();
    OptAlphaBlend = 8;
    OptBulletFly = 0;
    Field.PenColour = RGB(255, 0, 255);
    TestSetMouse(100, 0);
    CursorX = 100;
    CursorY = 0;
    FrameStep();
    // The trail runs from (0, 0) to the cursor along the top row.
    EXPECT_EQ(GetPixel(Field, 50, 0), static_cast<int32_t>(RGB(255, 0, 255)));
}

TEST(FrameStep, EventsEverySecondFrameAndPacedTo30ms) {
    FramePrep();
    OptAlphaBlend = 8;
    uint32_t start = GetTickCount();
    for (int i = 0; i < 10; i++) FrameStep();
    EXPECT_EQ(DoEventsCounter, 0);
    FrameStep();
    EXPECT_EQ(DoEventsCounter, 1);
    // Eleven frames take at least ten frame periods.
    EXPECT_GE(GetTickCount() - start, 300u);
}

TEST(MainLoopPass, MenuBackgroundPlainOnTheWorldScreenAndWithoutBlending) {
    FramePrep();
    GameRunning = 0;
    CreateSurface(MenuField, 300, 300, RGB(40, 50, 60));
    OptAlphaBlend = 8;
    OptDebugInfo = 8;
    MainLoopPass();
    EXPECT_EQ(GetPixel(Field, 290, 5), static_cast<int32_t>(RGB(40, 50, 60)));
    OptAlphaBlend = 0;
    MenuCode = "WS";
    CreateSurface(Field, 300, 300, RGB(0, 0, 0));
    MainLoopPass();
    EXPECT_EQ(GetPixel(Field, 290, 5), static_cast<int32_t>(RGB(40, 50, 60)));
}

TEST(MainLoopPass, MenuShimmersWithBlending) {
    FramePrep();
    GameRunning = 0;
    OptDebugInfo = 8;
    OptAlphaBlend = 0;
    CreateSurface(MenuField, 300, 300, RGB(250, 250, 250));
    CreateSurface(Field, 300, 300, RGB(0, 0, 0));
    Randomize(99);
    MainLoopPass();
    int32_t v = GetPixel(Field, 290, 5) & 0xFF;
    EXPECT_LE(v, 250 * 164 / 255 + 1);  // at most 64 % of the menu
}
