// Over the menus, when blood flies, blood drips from the moving cursor and
// now and then a splash lands somewhere on the menu.
#include "menus/MenuEffects.h"

#include <cmath>

#include "graphics/WorkWithMemory.h"
#include "shell/GameState.h"

namespace {

struct MenuDrop {
    Single X, Y, DX, DY;
    Integer Life;
};
constexpr int MaxMenuDrops = 400;
MenuDrop MenuDrops[MaxMenuDrops];
int NextMenuDrop;
Long LastCursorX = -1, LastCursorY = -1;

}  // namespace

void MenuEffects() {
    if (OptBloodFly != 0) {
        // Switched off: no drop lingers for when it is switched on again.
        for (MenuDrop& d : MenuDrops) d.Life = 0;
        return;
    }
    auto spray = [](double x, double y, int n, double speed) {
        for (int i = 0; i < n; i++) {
            MenuDrop& d = MenuDrops[NextMenuDrop];
            NextMenuDrop = (NextMenuDrop + 1) % MaxMenuDrops;
            double a = EffectRnd() * 360 * DegToRad;
            double v = speed * (0.2 + EffectRnd() * 0.8);
            d.X = static_cast<Single>(x);
            d.Y = static_cast<Single>(y);
            d.DX = static_cast<Single>(std::cos(a) * v);
            d.DY = static_cast<Single>(std::sin(a) * v - 1);
            d.Life = static_cast<Integer>(Int(EffectRnd() * 25) + 15);
        }
    };
    if (LastCursorX >= 0 && (CursorX != LastCursorX || CursorY != LastCursorY)) spray(CursorX, CursorY, 2, 1.5);
    LastCursorX = CursorX;
    LastCursorY = CursorY;
    if (EffectRnd() < 1.0 / 45) spray(EffectRnd() * 300, EffectRnd() * 300, 25, 3);

    for (MenuDrop& d : MenuDrops) {
        if (d.Life <= 0) continue;
        d.Life--;
        d.X += d.DX;
        d.Y += d.DY;
        d.DX *= 0.9f;
        d.DY = d.DY * 0.9f + 0.25f;  // runs down the screen
        COLORREF c = RGB(110 + d.Life * 3, 0, 0);
        int x = Whole(d.X), y = Whole(d.Y);
        SetPixel(Field, x, y, c);
        SetPixel(Field, x, y + 1, c);
    }
}

int MenuBloodDrops() {
    int n = 0;
    for (const MenuDrop& d : MenuDrops) n += d.Life > 0 ? 1 : 0;
    return n;
}

