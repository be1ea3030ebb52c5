// The first-run terrain generator and the terrain choice of a new game.
#include "maps/MapGen.h"

#include "graphics/WorkWithMemory.h"
#include "maps/DcEffects.h"
#include "menus/Options.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "shell/Form1.h"
#include "shell/GameState.h"

namespace {
void ShowStep(const std::string& text) {
    BitBlt(Field, 0, 0, 300, 300, MainLogo, 0, 0, SRCCOPY);
    LoadingText = text;
    TextOut(Field, 2, 286, UCase(text));
    PresentForm();
}
}  // namespace

void GenerateMaps() {
    if (MapsGenerated == 1) return;
    DoEvents();
    PresentForm();
    BitBlt(Field, 0, 0, 300, 300, MainLogo, 0, 0, SRCCOPY);
    Field.TextColour = RGB(0xC0, 0xFF, 0xC0);
    Field.FontSize = 10;
    for (int k = 1; k <= 4; k++) {
        const std::string n = "\\Pictures\\Map0" + std::to_string(k);
        // A missing photograph leaves the previous terrain, which is then processed.
        LoadPictureFile(GamePath(n + ".jpg"), Terain);
        const std::string map = "Map " + std::to_string(k) + "/4 - ";
        ShowStep(map + "Diffuse 1");
        Diffuse(Terain, 315, 315, Terain, 2);
        ShowStep(map + "Blur");
        Blur(Terain, 300, 300, Terain, 2);
        ShowStep(map + "Diffuse 2");
        Diffuse(Terain, 315, 315, Terain, 2);
        ShowStep(map + "ScaleUp");
        ScaleUp(Terain, 300, 300, Terain, 304, 304);
        SaveBmpFile(GamePath(n + ".bmp"), Terain);
    }
    MapsGenerated = 1;
    LoadSaveOptions(true);
}

int CurrentTerrain = 0;

void ShowTerrain(int n) {
    if (n >= 1 && n <= 5) LoadPictureFile(GamePath("\\Pictures\\Map0" + std::to_string(n) + ".bmp"), Terain);
}

void ChooseNewGameTerrain() {
    Randomize();
    CurrentTerrain = static_cast<int>(Int(Rnd() * 6)) + 1;
    ShowTerrain(CurrentTerrain);
}
