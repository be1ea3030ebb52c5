#include "opponents/GameClock.h"

#include "platform/Clock.h"
#include "shell/GameState.h"

void ClockStep() {
    uint32_t now = GetTickCount();
    if (static_cast<int64_t>(now) - 1000 >= LastSecondTick) {
        LastSecondTick = static_cast<Long>(now);
        Fps = FrameCount;
        FrameCount = 0;
        MaxIdleLoops = 0;
    }
    FrameCount++;
    IdleLoops = 0;
    WaitUntilTickPasses(static_cast<uint32_t>(NextFrameTick));
    NextFrameTick = static_cast<Long>(GetTickCount() + 30);
}
void SpawnTick() {}
void SpawnOpponent() {}
int SpawnCap(int minute) {
    if (minute <= 15) return minute + 4;
    if (minute == 16) return 30;
    if (minute == 17) return 40;
    if (minute == 18) return 51;
    return 49;
}
