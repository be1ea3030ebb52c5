// The shell: blended copies, the debug line, picture loading and the frame
// and menu passes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "battle/ScoreInfo.h"
#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "maps/MapGen.h"
#include "menus/MenuEffects.h"
#include "menus/Menus.h"
#include "menus/Options.h"
#include "opponents/AirPlane.h"
#include "opponents/Pickups.h"
#include "platform/Clock.h"
#include "platform/GameFolders.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/DebugLine.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "support/DrawnText.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"
#include "worldscores/FTPmod.h"

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

// Every test starts from this: a value it leaves behind must not reach the next.
TEST(GameStateReset, EveryGlobalReturnsToItsStartingValue) {
    Units[50].Health = Bullets[200].Life = 1;
    GameRunning = GamePaused = EnteringName = UnitDied = AirPlaneActive = BugerActive = ShakeActive = -1;
    MenuCode = LoadingText = UnitFileValue = "x";
    DoEventsCounter = CursorX = CursorY = KeyState[255] = MouseLeft = MouseRight = MouseMiddle = 1;
    FireMode = FireModeKeyReleased = MusicVolume = ScreenshotNumber = FieldOffsetX = FieldOffsetY = 1;
    WorldScroll = WorldScrollOffset = 1;
    OptSnow = OptBulletFly = OptBloodFly = OptBloodStays = OptFootSteps = OptDebugInfo = OptScoreInfo = 8;
    OptAlphaBlend = OptKillsInRow = OptFullScreen = OptMono = OptRealMovement = SoundOff = 8;
    PlayMinutes = TimesPlayed = MapsGenerated = Kills = HitScore = SkillScore = BonusScore = 1;
    LastDistance = LastDirection = BoostTimers[4] = AliveCount = NearestOpponentDistance = SeparationOff = 1;
    StepCount[51] = LastStepMark[51] = HitsInHistory = LoadedSlot = 1;
    for (int i = 0; i < 10; i++) {
        HealthPackActive[i] = CrateActive[i] = CrateBullets[i] = HitHistory[i] = 1;
        HealthPackX[i] = HealthPackY[i] = CrateX[i] = CrateY[i] = 1;
    }
    BugerX = BugerY = 1;
    LastSecondTick = Fps = FrameCount = NextFrameTick = 1;
    GameSeconds = GameMinutes = SpawnCounter = StillFireSeconds = WaveLeft = WavePending = WaveSize = WaveTimer = 1;
    Sheeps[200].Active = AcidActive[4] = AcidKind[4] = -1;
    AcidX[4] = AcidY[4] = 1;
    DegToRad = 0;
    ResetGameState();

    EXPECT_EQ(Units[50].Health + Bullets[200].Life, 0);
    EXPECT_EQ(GameRunning | GamePaused | EnteringName | UnitDied | AirPlaneActive | BugerActive | ShakeActive, 0);
    EXPECT_EQ(MenuCode + LoadingText + UnitFileValue, "");
    EXPECT_EQ(DoEventsCounter + CursorX + CursorY + KeyState[255] + MouseLeft + MouseRight + MouseMiddle, 0);
    EXPECT_EQ(FireMode + FireModeKeyReleased + MusicVolume + ScreenshotNumber + FieldOffsetX + FieldOffsetY, 0);
    EXPECT_EQ(WorldScroll + WorldScrollOffset, 0);
    EXPECT_EQ(OptSnow + OptBulletFly + OptBloodFly + OptBloodStays + OptFootSteps + OptDebugInfo + OptScoreInfo, 0);
    EXPECT_EQ(OptAlphaBlend + OptKillsInRow + OptFullScreen + OptMono + OptRealMovement + SoundOff, 0);
    EXPECT_EQ(PlayMinutes + TimesPlayed + MapsGenerated + Kills + HitScore + SkillScore + BonusScore, 0);
    EXPECT_EQ(LastDistance + LastDirection + BoostTimers[4] + AliveCount + NearestOpponentDistance + SeparationOff, 0);
    EXPECT_EQ(StepCount[51] + LastStepMark[51] + HitsInHistory + LoadedSlot, 0);
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(HealthPackActive[i] + CrateActive[i] + CrateBullets[i] + HitHistory[i], 0) << i;
        EXPECT_EQ(HealthPackX[i] + HealthPackY[i] + CrateX[i] + CrateY[i], 0) << i;
    }
    EXPECT_EQ(BugerX + BugerY, 0);
    EXPECT_EQ(LastSecondTick + Fps + FrameCount + NextFrameTick, 0);
    EXPECT_EQ(GameSeconds + GameMinutes + SpawnCounter + StillFireSeconds + WaveLeft + WavePending + WaveSize + WaveTimer,
              0);
    EXPECT_EQ(Sheeps[200].Active + AcidActive[4] + AcidKind[4], 0);
    EXPECT_EQ(AcidX[4] + AcidY[4], 0);
    EXPECT_DOUBLE_EQ(DegToRad * 180, 3.141592653589793);
}

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

TEST(LoadingProgress, TheBarSlidesInWithTheStepsOfAWholeStart) {
    ResetGameState();
    CreateSurface(Field, 300, 300);
    CreateSurface(MainLogo, 300, 300, RGB(0, 0, 50));
    CreateSurface(Loading, 300, 13, RGB(0, 200, 0));
    ResetLoadingProgress();
    auto barEnd = [] {  // the first column right of the bar
        int x = 0;
        while (x < 300 && GetPixel(Field, x, 293) == static_cast<int32_t>(RGB(0, 200, 0))) x++;
        return x;
    };
    // 87 steps in all (46 pictures, 40 sounds, the last one): after 29 the bar is a third in.
    for (int i = 0; i < 29; i++) LoadingProgress();
    EXPECT_EQ(barEnd(), 100);
    EXPECT_EQ(GetPixel(Field, 150, 293), static_cast<int32_t>(RGB(0, 0, 50)));
    for (int i = 29; i < 87; i++) LoadingProgress();
    EXPECT_EQ(barEnd(), 300);
    EXPECT_EQ(GetPixel(Field, 150, 286), static_cast<int32_t>(RGB(0, 0, 50)));  // 13 rows from y 287
    EXPECT_EQ(GetPixel(Field, 150, 287), static_cast<int32_t>(RGB(0, 200, 0)));
    LoadingProgress();  // a step more than a start has stays full
    EXPECT_EQ(barEnd(), 300);
    FreeSurface(MainLogo);
    FreeSurface(Loading);
}

TEST(LoadingProgress, TheLineIsWrittenSmallAndPlainOverTheLogo) {
    ResetGameState();
    CreateSurface(Field, 300, 300);
    Field.FontSize = 20;  // whatever the screen before left behind
    Field.FontBold = true;
    CreateSurface(MainLogo, 300, 300);
    CreateSurface(Loading, 300, 13);
    LoadingText = "Loading sounds..";
    LoadingProgress();
    EXPECT_TRUE(DrawnAs(Field, "Loading sounds..", 4, 272, 8, false, RGB(0xC0, 0xFF, 0xC0)));
    FreeSurface(MainLogo);
    FreeSurface(Loading);
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
        // The pick is drawn right after a re-seed from the clock.
        Randomize(static_cast<uint32_t>(i * 7919));
        const uint32_t state = RndState();
        RandomizeFrom(GetTickCount());
        const int want = static_cast<int>(Int(Rnd() * 5)) + 1;
        Randomize(state);
        LoadPictures();
        const int red = GetPixel(Terain, 0, 0) & 0xFF;
        ASSERT_EQ(red, want) << i;
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

// The tests that open the real window run on SDL's dummy driver: software drawing, no display.
bool DummyWindowDriver() {
    const char* drv = std::getenv("SDL_VIDEODRIVER");
    if (!drv || std::string(drv) != "dummy") return false;
    setenv("SDL_RENDER_DRIVER", "software", 1);
    unsetenv("DISPLAY");
    return true;
}
}  // namespace

TEST(FrameStep, RepaintsFromTerrainPlainOrBlended) {
    FramePrep();
    OptAlphaBlend = 8;
    OptBulletFly = 8;
    SetPixel(Terain, 0, 0, RGB(7, 8, 9));  // without a shake the terrain lies exactly under the field
    FrameStep();
    EXPECT_EQ(GetPixel(Field, 150, 150), static_cast<int32_t>(RGB(200, 100, 50)));
    EXPECT_EQ(GetPixel(Field, 0, 0), static_cast<int32_t>(RGB(7, 8, 9)));
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
    bool sawShift = false, sawLeft = false, sawUp = false, stillX = false, stillY = false;
    for (int i = 0; i < 20; i++) {
        CreateSurface(Field, 300, 300, RGB(7, 7, 7));
        FrameStep();
        // The shift is 0 or 1 pixel up and left: the right column and the
        // bottom row may keep the old picture, the top-left never.
        EXPECT_EQ(GetPixel(Field, 0, 0), static_cast<int32_t>(RGB(200, 100, 50)));
        EXPECT_EQ(GetPixel(Field, 298, 298), static_cast<int32_t>(RGB(200, 100, 50)));  // never more than 1
        if (GetPixel(Field, 299, 150) == static_cast<int32_t>(RGB(7, 7, 7)) ||
            GetPixel(Field, 150, 299) == static_cast<int32_t>(RGB(7, 7, 7)))
            sawShift = true;
        sawLeft = sawLeft || GetPixel(Field, 299, 150) == static_cast<int32_t>(RGB(7, 7, 7));
        sawUp = sawUp || GetPixel(Field, 150, 299) == static_cast<int32_t>(RGB(7, 7, 7));
        stillX = stillX || GetPixel(Field, 299, 150) == static_cast<int32_t>(RGB(200, 100, 50));
        stillY = stillY || GetPixel(Field, 150, 299) == static_cast<int32_t>(RGB(200, 100, 50));
    }
    EXPECT_TRUE(sawShift);
    EXPECT_TRUE(sawLeft && sawUp);  // both directions, each drawn anew
    EXPECT_TRUE(stillX && stillY);  // and each also left in place
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

namespace {
int EventPassCount = 0;
void CountEventPass() { EventPassCount++; }
}  // namespace

TEST(FrameStep, EventsEverySecondFrameAndPacedTo30ms) {
    FramePrep();
    OptAlphaBlend = 8;
    EventPassCount = 0;
    TestSetEventHook(CountEventPass);
    FrameStep();
    EXPECT_EQ(EventPassCount, 0);
    FrameStep();
    EXPECT_EQ(EventPassCount, 1);
    TestSetEventHook(nullptr);
    uint32_t start = GetTickCount();
    for (int i = 0; i < 8; i++) FrameStep();
    EXPECT_EQ(DoEventsCounter, 0);
    FrameStep();
    EXPECT_EQ(DoEventsCounter, 1);
    // Nine frames take at least eight frame periods.
    EXPECT_GE(GetTickCount() - start, 240u);
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

// "Debug info" on (0) puts the memory line in pale green at the top right of the menus.
TEST(MainLoopPass, TheDebugLineShowsOnTheMenusOnlyWhenSwitchedOn) {
    auto pass = [](Integer opt) {
        FramePrep();
        GameRunning = 0;
        OptAlphaBlend = 8;
        OptDebugInfo = opt;
        MemStatus.TotalPhys = 512ull << 20;
        MemStatus.AvailPhys = 200ull << 20;
        MainLoopPass();
        return Field.Pixels;
    };
    const auto off = pass(8), on = pass(0);
    int inked = 0, left = 300, top = 300, greenest = 0;
    for (int y = 0; y < 300; y++)
        for (int x = 0; x < 300; x++) {
            const COLORREF p = on[y * 300 + x];
            if (p == off[y * 300 + x]) continue;
            // Pale green over the black menu: red and blue alike, green ahead of them.
            const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
            EXPECT_LE(std::abs(r - b), 1) << x << "," << y;
            EXPECT_LE(std::abs(r - (g * 0xC0 + 127) / 0xFF), 2) << x << "," << y;
            greenest = std::max(greenest, g);
            inked++;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    EXPECT_GT(inked, 30);
    EXPECT_EQ(greenest, 0xFF);
    EXPECT_GE(left, 130);
    EXPECT_LE(left, 133);
    EXPECT_GE(top, 2);
    EXPECT_LE(top, 8);

    // Written alike when the score screen has just handed back to the menu.
    FramePrep();
    GameRunning = 0;
    OptAlphaBlend = 8;
    OptDebugInfo = 0;
    MemStatus.TotalPhys = 512ull << 20;
    MemStatus.AvailPhys = 200ull << 20;
    MenuCode = "HS";
    TestSetMouse(35, 264);  // on "MAIN MENU"
    CursorX = 35;
    CursorY = 264;
    MouseLeft = -1;
    MainLoopPass();
    ASSERT_EQ(MenuCode, "");
    int differ = 0;
    for (int y = 0; y < 14; y++)
        for (int x = 125; x < 300; x++) differ += Field.Pixels[y * 300 + x] != on[y * 300 + x];
    EXPECT_EQ(differ, 0);
    MemStatus = {};
}

TEST(Shell, StartRemovesTheLeftoversOfSavesInEveryFolderTheGameWrites) {
    TempGameDir dir;
    for (const char* f : {"AtopDv118.dvk.tmp", "OtherFiles/Options.txt.tmp", "Pictures/Map03.bmp.tmp123"})
        dir.Write(f, "half");
    dir.Write("Pictures/Map03.bmp", "whole");
    RemoveInterruptedSaves();
    for (const char* f : {"AtopDv118.dvk.tmp", "OtherFiles/Options.txt.tmp", "Pictures/Map03.bmp.tmp123"})
        EXPECT_FALSE(std::filesystem::exists(dir.File(f))) << f;
    EXPECT_EQ(dir.Read("Pictures/Map03.bmp"), "whole");

    // Installed, the saves go to the player's folder: that is where they are cleaned.
    TempGameDir shipped, data;
    shipped.Write("OtherFiles/Options.txt.tmp", "not ours to touch");
    data.Write("OtherFiles/Options.txt.tmp", "half");
    SetGameFolders(GameFolders{shipped.Path.string(), data.Path.string()});
    RemoveInterruptedSaves();
    EXPECT_FALSE(std::filesystem::exists(data.File("OtherFiles/Options.txt.tmp")));
    EXPECT_TRUE(std::filesystem::exists(shipped.File("OtherFiles/Options.txt.tmp")));
}

TEST(FrameStep, EscapeEndsTheFrameBeforeAnythingMovesOrIsDrawn) {
    FramePrep();
    OptAlphaBlend = 8;
    CreateSurface(MainMenu, 270, 270, RGB(0, 0, 200));
    Units[0].Active = -1;
    Units[0].X = Units[0].Y = 140;
    Units[0].Speed = 10;
    Units[0].WalkLeft = 20;
    Bullets[1].Life = 50;
    Bullets[1].Speed = 3;
    Bullets[1].DX = 1;
    Bullets[1].BX = Bullets[1].BY = 100;
    FrameCount = 7;
    TestSetKey(DIK_ESCAPE, true);
    FrameStep();
    TestReleaseAllKeys();
    EXPECT_EQ(GamePaused, -1);
    EXPECT_EQ(Bullets[1].Life, 50);
    EXPECT_DOUBLE_EQ(Bullets[1].BX, 100);
    EXPECT_EQ(Units[0].X, 140);
    EXPECT_EQ(Units[0].WalkLeft, 20);
    EXPECT_EQ(GetPixel(Field, 150, 150), static_cast<int32_t>(RGB(1, 2, 3)));  // the last frame's picture
    EXPECT_EQ(FrameCount, 7);
    FreeSurface(MainMenu);
}

TEST(MainLoopPass, TheGameRunsItsLoopsAndStopsThemWhenTheFramesEnd) {
    TempGameDir dir;
    FramePrep();
    OptDebugInfo = 8;
    GamePaused = -1;  // no frames: the block runs on its own
    TestSetMouse(299, 299);
    LoadProbeSounds({8, 9, 22, 36});
    // A sound played since the mark has its pan set again.
    auto mark = [] { for (int id : {8, 9, 36}) MixerSetPan(SoundBuffer(id), -555); };
    auto played = [](int id) { return MixerGetPan(SoundBuffer(id)) != -555; };

    mark();
    BoostTimers[4] = 50;  // not one of the four the heart beats for
    MainLoopPass();
    EXPECT_FALSE(played(36) || played(9) || played(8));

    for (int t = 0; t <= 3; t++) {
        mark();
        BoostTimers[0] = BoostTimers[1] = BoostTimers[2] = BoostTimers[3] = 0;
        BoostTimers[t] = 5;
        MainLoopPass();
        EXPECT_EQ(MixerGetPan(SoundBuffer(36)), 429) << t;  // in the middle
    }
    mark();
    AirPlaneActive = BugerActive = -1;
    for (int id : {8, 9, 22, 36}) MixerPlay(SoundBuffer(id), true);
    MouseLeft = -1;
    MainLoopPass();
    EXPECT_EQ(MixerGetPan(SoundBuffer(9)), 429);
    EXPECT_EQ(MixerGetPan(SoundBuffer(8)), 429);
    EXPECT_FALSE(Playing(22) || Playing(36) || Playing(9) || Playing(8));
    EXPECT_EQ(MouseLeft, 0);

    // In the menus without a game nothing of this runs.
    GameRunning = GamePaused = 0;
    MixerPlay(SoundBuffer(22), true);
    MouseLeft = -1;
    MainLoopPass();
    EXPECT_TRUE(Playing(22));
    EXPECT_EQ(MouseLeft, -1);
    FreeSounds();
}

TEST(MainLoopPass, AScreenHandsOverToALaterOneInTheSamePass) {
    TempGameDir dir;
    FramePrep();
    GameRunning = 0;
    OptDebugInfo = 8;
    MenuClickedY = MenuHoverY = 0;
    ScoreReadCounter = 0;
    TestSetMouse(35, 82);  // "HIGH SCORES" of the main menu
    MouseLeft = -1;
    MainLoopPass();
    EXPECT_EQ(ScoreReadCounter, 1);  // the high score screen has run already
    MouseLeft = 0;
    MenuCode.clear();
}

TEST(MainLoopPass, TheMenusBeginOverTheTerrainWithTheirMusicInTheMiddle) {
    TempGameDir dir;
    FramePrep();
    MapsGenerated = 1;
    MusicVolume = 50;
    LoadSaveOptions(true);
    OptSnow = 0;  // the file says 8: the settings are read again as the loop begins
    CreateSurface(MainMenu, 270, 270, RGB(0, 0, 200));
    LoadProbeSounds({26});
    GamePaused = -1;
    MainLoopBegin();
    EXPECT_EQ(OptSnow, 8);
    EXPECT_EQ(GameRunning | GamePaused, 0);
    EXPECT_TRUE(Playing(26));
    const int32_t pan = MixerGetPan(SoundBuffer(26));
    PlaySound(26, 500);
    EXPECT_EQ(MixerGetPan(SoundBuffer(26)), pan);
    // The menu panel at 55 % (alpha 141) over the terrain.
    EXPECT_EQ(GetPixel(MenuField, 5, 5), static_cast<int32_t>(RGB(200, 100, 50)));
    EXPECT_NEAR(GetPixel(MenuField, 150, 150) & 0xFF, 200 * (256 - 141) / 256, 1);
    FreeSounds();
    FreeSurface(MainMenu);
}

TEST(MainLoopPass, BloodDripsFromTheMovingCursorOverTheMenus) {
    FramePrep();
    GameRunning = 0;
    OptDebugInfo = 8;
    MenuEffects();  // blood off: none left from before
    ASSERT_EQ(MenuBloodDrops(), 0);
    OptBloodFly = 0;
    for (int x = 280; x < 290; x++) {
        TestSetMouse(x, 290);
        MainLoopPass();
    }
    EXPECT_GT(MenuBloodDrops(), 0);
}

TEST(MainLoopPass, TheMenusReadTheKeyboard) {
    TempGameDir dir;
    FramePrep();
    GameRunning = 0;
    OptDebugInfo = 8;
    MenuCode = "HELP";
    TestSetKey(DIK_ESCAPE, true);
    MainLoopPass();
    TestReleaseAllKeys();
    EXPECT_EQ(MenuCode, "");  // back in the main menu
}

TEST(FrameStep, RunsTheScoreLineAndTheSheep) {
    FramePrep();
    OptScoreInfo = 0;
    TopScores[0].Score = "100  ";
    HitScore = 40;
    Sheep& s = Sheeps[0];
    s.Active = -1, s.X = s.Y = 100, s.Health = 100, s.Timer = 5;  // grazing
    CreateSurface(Health, 7 * HealthCells, 7, RGB(0, 200, 0));
    CreateSurface(Ammo, 9 * AmmoCells, 7, RGB(200, 200, 0));
    SpawnHealthPack(200, 200);
    SpawnCrate(200, 200, 12);
    CreateSurface(BombIcon, 60, 30, RGB(9, 8, 7));  // an opaque mask on the right
    for (int y = 0; y < 30; y++)
        for (int x = 30; x < 60; x++) SetPixel(BombIcon, x, y, 0);
    Units[0].Ammo = BombCost;
    FrameStep();
    EXPECT_EQ(ScoreLine(), "Score: 40   Ahead: #1  100");
    EXPECT_EQ(s.Timer, 4);  // a frame nearer its next change of mind
    // and the pick-ups
    EXPECT_EQ(GetPixel(Field, Whole(HealthPackX[0]) + 3, Whole(HealthPackY[0]) + 3), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(Field, Whole(CrateX[0]) + 4, Whole(CrateY[0]) + 3), RGB(200, 200, 0));
    EXPECT_EQ(GetPixel(Field, 298, 298), RGB(9, 8, 7));  // and the bomb the ammunition buys
    FreeSurface(BombIcon);
    FreeSurface(Health);
    FreeSurface(Ammo);
    s = Sheep{};
    TopScores[0] = ScoreRecord{};
}

// The window's events reach the game: a button pressed and let go, and typed
// text, which goes to the name box only while a name is being entered.
TEST(Shell, TheWindowsEventsReachTheGame) {
    if (!DummyWindowDriver()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    ResetGameState();
    ASSERT_TRUE(OpenWindow("Dorvik - name", 300, 379)) << WindowError();
    InstallWindowHandlers();
    YourName.clear();
    for (Integer entering : {False, True}) {
        EnteringName = entering;
        ReadKeyboard();  // the window takes typed text only now
        TestPushText(entering ? "ab" : "x");
        ProcessWindowEvents();
    }
    EXPECT_EQ(YourName, "ab");
    EnteringName = False;
    YourName.clear();
    TestPushMouseButton(1, true, 150, 150);
    ProcessWindowEvents();
    EXPECT_EQ(MouseLeft, -1);
    TestPushMouseButton(1, false, 150, 150);
    ProcessWindowEvents();
    EXPECT_EQ(MouseLeft, 0);
    // Keys: W goes on with a paused game; Ctrl let go asks for the next fire mode.
    GameRunning = -1;
    GamePaused = -1;
    TestPushKey("W", true);
    TestPushKey("Left Ctrl", true);
    ProcessWindowEvents();
    EXPECT_EQ(GamePaused, 0);
    EXPECT_EQ(FireModeKeyReleased, 0);
    TestPushKey("W", false);
    TestPushKey("Left Ctrl", false);
    ProcessWindowEvents();
    EXPECT_EQ(FireModeKeyReleased, -1);
    TestReleaseAllKeys();
    ResetGameState();
    CloseWindow();
    unsetenv("SDL_RENDER_DRIVER");
}

// As the menus begin, the display setting is what the window is, whatever the file says.
TEST(Shell, TheMenusBeginWithTheDisplayTheWindowHas) {
    if (!DummyWindowDriver()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    FramePrep();
    MapsGenerated = 1;
    OptFullScreen = 0;
    LoadSaveOptions(true);
    ASSERT_TRUE(OpenWindow("Dorvik - display", 300, 379)) << WindowError();
    MainLoopBegin();
    EXPECT_EQ(OptFullScreen, 8);
    CloseWindow();
    unsetenv("SDL_RENDER_DRIVER");
}

// What a routine draws reaches the window before it returns.
TEST(Shell, EachStepShowsItsPictureInTheWindow) {
    if (!DummyWindowDriver()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    FramePrep();
    ASSERT_TRUE(OpenWindow("Dorvik - test", 300, 379)) << WindowError();
    Surface blank;
    CreateSurface(blank, 300, 300, RGB(255, 0, 255));
    auto shown = [&](const char* step, auto run) {
        PresentWindow(blank, 0, 0, StatusField, 0, 301);
        run();
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(TestReadScreen(px, w, h));
        ASSERT_EQ(w, 300);
        for (int y = 0; y < 300; y++)
            for (int x = 0; x < 300; x++)
                ASSERT_EQ(px[y * 300 + x], static_cast<uint32_t>(GetPixel(Field, x, y))) << step << " " << x << "," << y;
    };
    shown("frame", [] { FrameStep(); });
    LoadingText = "Loading sounds..";
    shown("loading", [] { LoadingProgress(); });
    GameRunning = 0;
    OptDebugInfo = 8;
    shown("menus", [] { MainLoopPass(); });
    MapsGenerated = 0;
    shown("maps", [] { GenerateMaps(); });
    CloseWindow();
    unsetenv("SDL_RENDER_DRIVER");
}

namespace {
struct LeftTheMainLoop {};
int EventPasses = 0;
// Lets the start-up run into the menus for a few passes, then leaves.
void LeaveAfterAFewMenuPasses() {
    if (++EventPasses == 100) throw LeftTheMainLoop{};
}
}  // namespace

TEST(Shell, StartUpReadsEverythingAndOpensTheMenus) {
    if (!DummyWindowDriver()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    ResetGameState();
    UseTestClock(true, 100000);
    TestReleaseAllKeys();
    // Settings: full screen, no snow, maps made. A score table whose last game scored nothing.
    OptFullScreen = 0;
    OptSnow = 8;
    MapsGenerated = 1;
    LoadSaveOptions(true);
    for (auto& r : TopScores) r = ScoreRecord{};
    for (int i = 0; i < 10; i++)
        TopScores[i] = ScoreRecord{(std::to_string(i == 9 ? 0 : 100 - 10 * i) + "    ").substr(0, 5), "5  ", "01:00", "1 ", "1 ", "1 ", "1 ",
                                   "90 ", "15 ", "3    ", "20260101", std::string(1, char('A' + i))};
    WriteScoreFile();
    for (auto& r : TopScores) r = ScoreRecord{};
    ScoreReadCounter = 0;
    std::string host = "FTP HOST";
    host.resize(20, ' ');
    dir.Write("OtherFiles/Server.txt", host + " scores.example.test\r\nEND\r\n");
    dir.Write("AtopDv118.dvk.tmp", "half");
    std::filesystem::create_directories(dir.File("Sounds"));
    WriteTestWav(std::filesystem::path(dir.File("Sounds")) / SoundFileName(26), 22050, 50, 200);
    ResetGameState();
    ResetLoadingProgress();
    DegToRad = 0;
    OptFullScreen = 8;  // what the file says counts
    for (Surface* s : {&Field, &Terain, &MenuField, &StatusField, &LoadPicDC}) FreeSurface(*s);

    ReleaseInput();  // as the last run left it
    TestSetKey(DIK_W, true);
    ASSERT_TRUE(OpenWindow("Dorvik - start", 300, 379)) << WindowError();
    EventPasses = 0;
    TestSetEventHook(LeaveAfterAFewMenuPasses);
    EXPECT_THROW(StartUp(), LeftTheMainLoop);
    TestSetEventHook(nullptr);

    TestReleaseAllKeys();
    EXPECT_EQ(KeyState[DIK_W], 0x80);  // the keyboard is read
    EXPECT_EQ(WindowCaption, "Dorvik - start");
    EXPECT_FALSE(std::filesystem::exists(dir.File("AtopDv118.dvk.tmp")));
    EXPECT_EQ(std::pair(Field.Width, Field.Height), std::pair(300, 300));
    EXPECT_EQ(std::pair(Terain.Width, Terain.Height), std::pair(300, 300));
    EXPECT_EQ(std::pair(MenuField.Width, MenuField.Height), std::pair(300, 300));
    EXPECT_EQ(std::pair(StatusField.Width, StatusField.Height), std::pair(300, 78));
    EXPECT_EQ(std::pair(LoadPicDC.Width, LoadPicDC.Height), std::pair(301, 378));
    EXPECT_EQ(OptSnow, 8);
    EXPECT_EQ(ScoreServerHost, "scores.example.test");
    EXPECT_EQ(std::tuple(OptFullScreen, FieldOffsetX, FieldOffsetY), std::tuple(0, 170, 50));
    EXPECT_EQ(LoadingSteps(), 87);  // every picture, every sound and the last step
    // The table was read, and nothing of it taken for a new game.
    EXPECT_EQ(TopScores[0].Name, "A");
    EXPECT_EQ(Trim(TopScores[9].Score), "0");
    EXPECT_EQ(EnteringName, False);
    EXPECT_TRUE(Playing(26));  // the sounds are loaded: the menu music plays
    const char* audio = std::getenv("SDL_AUDIODRIVER");
    if (audio && std::string(audio) == "dummy") {
        EXPECT_TRUE(MixerDeviceOpen());  // and is heard
    }
    EXPECT_DOUBLE_EQ(DegToRad * 180, 3.141592653589793);
    EXPECT_EQ(GameRunning | GamePaused, 0);

    StopAllProbeSounds({26});
    FreeSounds();
    FreePictures();
    SetDisplayMode(false);  // the window layout for the tests after this one
    CloseWindow();
    unsetenv("SDL_RENDER_DRIVER");
    UseTestClock(false);
}

TEST(Shell, ShutDownReleasesEverythingAndEndsTheProgram) {
    if (!DummyWindowDriver()) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    TempGameDir dir;
    FramePrep();
    ASSERT_TRUE(OpenWindow("Dorvik - end", 300, 379)) << WindowError();
    LoadProbeSounds({26});
    const int music = SoundBuffer(26);
    MixerPlay(music, true);
    CreateSurface(MainLogo, 300, 300);
    CreateKeyboard();
    ClipCursorToField(true);
    static int code = -2;
    void (*savedEnd)(int) = EndProcess;
    EndProcess = [](int c) { code = c; };
    InstallWindowHandlers();
    TestPushQuit();  // the window is closed
    ProcessWindowEvents();
    EndProcess = savedEnd;
    EXPECT_EQ(code, 0);
    int x, y, w, h;
    EXPECT_FALSE(TestConfinement(x, y, w, h));  // the pointer is free
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_EQ(SoundBuffer(26), -1);
    EXPECT_FALSE(MixerIsPlaying(music));
    EXPECT_EQ(MainLogo.Width, 0);
    TestSetKey(DIK_W, true);
    ReadKeyboard();
    TestReleaseAllKeys();
    EXPECT_EQ(KeyState[DIK_W], 0);  // the keyboard is let go
    CreateKeyboard();
    unsetenv("SDL_RENDER_DRIVER");
}
