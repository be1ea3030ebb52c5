#include "menus/Menus.h"

COLORREF MenuTextColour;
Long MenuClickedY;
Long MenuHoverY;
std::string MenuHoverText;

void MenuItem(std::string, int, int, int, Integer) {}
void MenuHitTest(int, int, std::string, int, Integer) {}
void MainMenuScreen() {}
void EndScreen() {}
