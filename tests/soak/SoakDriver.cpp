// Plays back-to-back games headless through the game's own main loop and
// input state, with the test clock at full speed, for a given span of game
// time: walk, aim at the nearest opponent, fire, order bombs, walk to drugs,
// die, type a name into the score table and start again. Prints the games
// played and the resident memory after the first and the last game, and
// fails when it grew by more than the allowed kB.
//   dorvik_soak GAME_DIR GAME_SECONDS [ALLOWED_GROWTH_KB]
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "menus/Options.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace fs = std::filesystem;

// The sanitizer's own count of memory in use, when it is there.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {
size_t HeapKb() {
    if (__sanitizer_get_current_allocated_bytes) return __sanitizer_get_current_allocated_bytes() / 1024;
    return mallinfo2().uordblks / 1024;
}

long ResidentKb() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int Pass = 0;      // event passes so far
int KeyUpAt[256];  // pass at which a pressed key is let go again
int Games = 0;
long FirstKb = 0, LastKb = 0;
size_t FirstHeapKb = 0, LastHeapKb = 0;
bool WasRunning = false;
int DrugsTaken = 0, BombsOrdered = 0;
bool Boosted[4], PlaneSeen;

// What the player got out of this game so far.
void CountEffects() {
    for (int i = 0; i < 4; i++) {
        if (BoostTimers[i] > 0 && !Boosted[i]) DrugsTaken++;
        Boosted[i] = BoostTimers[i] > 0;
    }
    if (AirPlaneActive == -1 && !PlaneSeen) BombsOrdered++;
    PlaneSeen = AirPlaneActive == -1;
}

void Press(int scanCode, int passes = 2) {
    TestSetKey(scanCode, true);
    KeyUpAt[scanCode] = Pass + passes;
}

void ReleaseDueKeys() {
    for (int k = 0; k < 256; k++)
        if (KeyUpAt[k] && KeyUpAt[k] <= Pass) {
            TestSetKey(k, false);
            KeyUpAt[k] = 0;
        }
}

int Nearest(float x, float y) {
    int best = 0;
    double bestD = 1e18;
    for (int i = 1; i <= MaxUnit; i++) {
        if (Units[i].Active == 0) continue;
        const double d = std::hypot(Units[i].X - x, Units[i].Y - y);
        if (d < bestD) bestD = d, best = i;
    }
    return best;
}

// Static movement: one key per direction.
void WalkTowards(float tx, float ty) {
    const Unit& p = Units[0];
    if (tx > p.X + 3) Press(DIK_D);
    if (tx < p.X - 3) Press(DIK_A);
    if (ty > p.Y + 3) Press(DIK_S);
    if (ty < p.Y - 3) Press(DIK_W);
}

void Fight() {
    const Unit& p = Units[0];
    const int foe = Nearest(p.X, p.Y);
    if (foe)
        TestSetMouse(static_cast<int>(Units[foe].X) + 10 + FieldOffsetX,
                     static_cast<int>(Units[foe].Y) + 10 + FieldOffsetY);
    // The first minute of a game is fought; then the soldier walks into the
    // enemy unarmed, so games end.
    const bool fighting = GameMinutes < 1;
    if (fighting && foe && Pass % 16 < 14)
        Field_MouseDown(1);
    else
        Field_MouseUp(1);
    if (Pass % 150 == 0)
        Field_MouseDown(2);  // a bomb now and then
    else
        Field_MouseUp(2);
    int drug = -1;
    for (int i = 0; i < 5; i++)
        if (AcidActive[i]) drug = i;
    if (drug >= 0)
        WalkTowards(AcidX[drug] - 7, AcidY[drug] - 7);  // centre on the drop
    else if (!fighting && foe)
        WalkTowards(Units[foe].X, Units[foe].Y);
    else if (Pass % 400 < 10)
        WalkTowards(150 + 60 * std::cos(Pass / 400.0), 150 + 60 * std::sin(Pass / 400.0));
}

// Where the window's events would arrive: the player acts.
void PlayerActs() {
    Pass++;
    ReleaseDueKeys();
    if (WasRunning && !GameRunning) {
        Games++;
        if (std::getenv("SOAK_VERBOSE"))
            std::printf("game %d: %02d:%02d kills=%d drugs=%d bombs=%d rss=%ldkB heap=%zukB\n", Games, GameMinutes,
                        GameSeconds, Kills, DrugsTaken, BombsOrdered, ResidentKb(), HeapKb());
        DrugsTaken = BombsOrdered = 0;
    }
    // After the first game means after its score screen too: taken when the
    // second game starts.
    if (!WasRunning && GameRunning && Games == 1) {
        FirstKb = ResidentKb();
        FirstHeapKb = HeapKb();
    }
    WasRunning = GameRunning != 0;
    if (GameRunning && !GamePaused) {
        CountEffects();
        Fight();
        return;
    }
    Field_MouseUp(1);
    Field_MouseUp(2);
    if (GameRunning && GamePaused) {
        Press(DIK_RETURN);  // resume
    } else if (EnteringName == -1) {
        if (YourName.size() < 6)
            YourNameTextInput(Pass % 2 ? "s" : "K");
        else
            Press(DIK_RETURN);
    } else if (!MenuCode.empty()) {
        Press(DIK_ESCAPE);  // back to the main menu
    } else if (Pass % 4 == 0) {
        Press(DIK_RETURN);  // a new game
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dorvik_soak GAME_DIR GAME_SECONDS [ALLOWED_GROWTH_KB]\n");
        return 2;
    }
    const double seconds = std::atof(argv[2]);
    const long allowedKb = argc > 3 ? std::atol(argv[3]) : 2048;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char tmpl[] = "/tmp/dorvik-soak-XXXXXX";
    const std::string game = mkdtemp(tmpl);
    fs::copy(argv[1], game, fs::copy_options::recursive);
    SetAppPath(game);
    UseTestClock(true, 100000);

    // The start, as StartUp does it, without a window.
    InstallWindowHandlers();
    CreateFormSurfaces();
    LoadSaveOptions(false);
    OptFullScreen = 8;
    OptRealMovement = 0;
    LoadPictures();
    if (TopScores[0].Name.empty()) EnterScore(0);
    LoadSounds();
    CreateKeyboard();
    DegToRad = 4.0 * std::atan(1.0) / 180.0;
    TestSetMouse(150, 150);
    TestSetEventHook(PlayerActs);

    MainLoopBegin();
    const auto start = GetTickCount();
    // Whole games: the last one is finished and named before the end.
    while (GetTickCount() - start < seconds * 1000 || GameRunning || EnteringName == -1 || Games == 0) MainLoopPass();
    TestSetEventHook(nullptr);
    LastKb = ResidentKb();
    LastHeapKb = HeapKb();
    // The game's own end, without ending the process.
    EndProcess = [](int) {};
    ShutDown();

    std::printf(
        "game-seconds=%.0f games=%d rss-after-first-game=%ldkB rss-after-last-game=%ldkB growth=%ldkB "
        "heap-in-use-after-first=%zukB after-last=%zukB\n",
        (GetTickCount() - start) / 1000.0, Games, FirstKb, LastKb, LastKb - FirstKb, FirstHeapKb, LastHeapKb);
    std::error_code ec;
    fs::remove_all(game, ec);
    if (Games < 2) {
        std::printf("too few games\n");
        return 1;
    }
    return LastKb - FirstKb <= allowedKb ? 0 : 1;
}
