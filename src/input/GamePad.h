// A game controller plays through the same flags as the keyboard and mouse,
// so the game's rules do not change: the left stick holds W, A, S or D, Start
// is Enter and Back is Escape, the right trigger is the left button (fire),
// the left trigger or the right shoulder the right button (bomb), A the left
// button in the menus, and the right stick places the cursor: around the
// soldier in a game, freely in the menus.
#pragma once

// After the mouse was read into CursorX/CursorY (mouseX, mouseY: the pointer
// as read, in picture pixels): the pad's cursor replaces it while the pad
// aims, until the mouse moves.
void GamePadCursor(int mouseX, int mouseY);
// After the keyboard state was read: the pad's keys and buttons.
void GamePadButtons();

// How far the right stick aims from the soldier's middle at full deflection,
// and how fast it moves the menu cursor (pixels per pass).
constexpr double PadAimReach = 80;
constexpr double PadMenuSpeed = 8;
