#include "menus/Menus.h"

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "menus/Options.h"
#include "shell/Form1.h"
#include "shell/GameState.h"
#include "shell/NewGame.h"
#include "sound/DirectSoundMod.h"

COLORREF MenuTextColour;
Long MenuClickedY;
Long MenuHoverY;
std::string MenuHoverText;

namespace {
constexpr COLORREF Navy = RGB(0x00, 0x00, 0x80);
constexpr COLORREF White = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF Blue = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF LightGreen = RGB(0xC0, 0xFF, 0xC0);

// Characters of the text (a typed name may hold UTF-8).
int Characters(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) n++;
    return n;
}

// Draws a clickable main menu item; true when it was clicked in this pass.
bool Clicked(const char* text, int y) {
    MenuItem(text, 30, y, 10, -1);
    return MenuClickedY == y;
}
}  // namespace

void MenuItem(std::string text, int x, int y, int size, Integer active) {
    MenuTextColour = Navy;
    if (text.empty()) text = "0";
    MenuHitTest(x, y + 2, text, size - 2, active);
    Field.TextColour = MenuTextColour;
    Field.FontSize = size;
    TextOut(Field, x, y, text);
    Field.TextColour = Navy;
}

void MenuHitTest(int x, int y, std::string text, int size, Integer active) {
    int s = size;
    // Smaller rows of the score tables get a tighter box.
    if ((MenuCode == "WS" || MenuCode == "HS") && s < 8) s -= 2;
    if (text.empty()) text = "0";
    // The box counts s pixels per character whatever the glyphs' widths.
    const bool over = x < CursorX && CursorX < x + Characters(text) * s && y < CursorY && CursorY < y + s + 2;
    if (!over) return;

    if (active && text != MenuHoverText) PlaySound(23, 500);
    MenuHoverText = text;
    MenuTextColour = active ? White : Blue;
    const Long itemY = y - 2;  // items are known by the y they are drawn at
    if (MouseLeft == 0) {
        MenuClickedY = 0;
        MenuHoverY = itemY;
    } else if (active) {
        PlaySound(25, 500);
        MenuClickedY = itemY;
        MouseLeft = 0;  // consumed: a held button clicks one item only
        LoadSaveOptions(true);
    }
}

void MainMenuScreen() {
    Field.FontBold = true;
    if (GamePaused == -1 && Clicked("RESUME GAME", 25)) {
        MenuClickedY = 0;
        ResumeGame();
    }
    if (Clicked("START NEW GAME", 50)) NewGame();
    if (Clicked("HIGH SCORES", 75)) MenuCode = "HS";
    if (Clicked("OPTIONS & GAME INFO", 100)) MenuCode = "OPTIONS";
    if (Clicked("HELP ME", 125)) MenuCode = "HELP";
    if (Clicked("ABOUT", 150)) MenuCode = "ABOUT";
    // Leaves at once: nothing is saved or released on the way out.
    if (Clicked("EXIT GAME", 260)) EndProcess(0);
    MenuClickedY = 0;
    MaskedDraw(Field, 160, 30, 107, 40, LogoFull, 0, 0, 0, 40);
    EndScreen();
}

void EndScreen() {
    Field.TextColour = LightGreen;
    Field.FontSize = 8;
    Field.FontBold = false;
}
