// The menu item primitive and the screens.
#pragma once

#include <string>

#include "platform/Surface.h"
#include "shell/Basic.h"

extern COLORREF MenuTextColour;
extern Long MenuClickedY;
extern Long MenuHoverY;
extern std::string MenuHoverText;

void MenuItem(std::string text, int x, int y, int size, Integer active);
void MenuHitTest(int x, int y, std::string text, int size, Integer active);

void MainMenuScreen();
void OptionsScreen();
void HelpScreen();
void CreditsScreen();

// Leaves Field as every screen does on exit: light green, size 8, not bold.
void EndScreen();
