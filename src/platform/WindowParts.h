// What the window's source files share (platform/ only): the SDL window, how
// its picture is laid out and shown, and the game's handlers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace Wnd {
extern SDL_Window* Win;
// Null when the picture goes straight into the window's own surface (drawn
// by the processor); set when a renderer (graphics card) shows it.
extern SDL_Renderer* Ren;
extern SDL_Texture* Tex;
extern std::string Error;
extern WindowHandlers Handlers;
extern bool FullScreen;

// The picture: the client area's w x h in a window, 640 x 480 in full screen.
extern int CanvasW, CanvasH;
// The windowed picture size and the whole-number scale the window has (or
// returns to after full screen).
extern int PictureW, PictureH, WindowedScale;
// Colour around the picture when the window's shape differs (COLORREF).
extern uint32_t Background;
// Where the field was last shown (canvas pixels); a button goes down only over it.
extern SDL_Rect FieldRect;

// Where the canvas lies in the window's pixels, and pixels per window unit.
struct Layout {
    int OutW = 0, OutH = 0;  // drawable size in pixels
    int WinW = 0, WinH = 0;  // window size in window units
    int Scale = 1, OffX = 0, OffY = 0;
};
Layout CurrentLayout();
// Window units to canvas pixels (rounded down) and back (top-left of the pixel).
void WindowToCanvas(int wx, int wy, int& cx, int& cy);
void CanvasToWindow(int cx, int cy, int& wx, int& wy);

// Chooses how the picture is shown (renderer or window surface) for a
// window or a full screen, and makes the canvas w x h.
bool CreatePresenter(bool full);
bool SetCanvas(int w, int h);
void DestroyPresenter();
// Shows the picture as it is now.
void ShowCanvas();
// Puts the confinement asked for by ConfineMouse back after the layout changed.
void ApplyConfinement();
// Resizes made by the program itself are not the player's choice.
void OwnResize();
extern Uint32 IgnoreResizesUntil;
// The player resized the window: remember the scale that now fits.
void PlayerResized();

// The Windows virtual-key code of a key (0 when it has none), and the key
// of an SDL key name.
int VirtualKey(const SDL_Keysym& k);
SDL_Keysym KeysymOf(const char* keyName);

// Game controllers come and go with the window's events.
void PadAdded(int deviceIndex);
void PadRemoved(int instanceId);
void CloseAllPads();
}  // namespace Wnd
