#include "shell/Form1.h"

#include <cstdlib>

#include "platform/Window.h"
#include "shell/GameState.h"

void (*EndProcess)(int code) = [](int code) { std::exit(code); };

void StartUp() {}
void MainLoopBegin() {}
void MainLoopPass() {}
[[noreturn]] void MainLoop() {
    MainLoopBegin();
    for (;;) MainLoopPass();
}
void ShutDown() { EndProcess(0); }

void BlendBlit(const Surface& srcDC, int destX, int destY, int destW, int destH, Surface& destDC, int srcX, int srcY,
               int srcW, int srcH, int percent) {
    int alpha = Whole(256.0 / 100.0 * percent);
    if (alpha < 0 || alpha > 255) return;
    AlphaBlend(destDC, destX, destY, destW, destH, srcDC, srcX, srcY, srcW, srcH, alpha);
}

void PresentForm() { PresentWindow(Field, FieldLeft, FieldTop, StatusField, StatusLeft, StatusTop); }
void DoEvents() { ProcessWindowEvents(); }
