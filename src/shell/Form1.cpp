#include "shell/Form1.h"

#include <cmath>
#include <cstdlib>

#include "graphics/WorkWithMemory.h"
#include "input/DirectInputMod.h"
#include "maps/MapGen.h"
#include "menus/MenuEffects.h"
#include "menus/Menus.h"
#include "menus/Options.h"
#include "opponents/GameClock.h"
#include "platform/Files.h"
#include "platform/GameFolders.h"
#include "platform/Window.h"
#include "scores/TopScoreList.h"
#include "shell/DebugLine.h"
#include "shell/GameState.h"
#include "shell/Loading.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"

void (*EndProcess)(int code) = [](int code) { std::exit(code); };

void CreateFormSurfaces() {
    CreateSurface(Field, 300, 300);
    CreateSurface(Terain, 300, 300);
    CreateSurface(MenuField, 300, 300);
    CreateSurface(StatusField, 300, 78);
    CreateSurface(LoadPicDC, 301, 378);  // a fresh surface prints in 8 point
}

// Saves only ever land in the player's data folder (the game folder itself
// when it is a portable one), so that is where leftovers can be.
void RemoveInterruptedSaves() {
    const std::string& data = PlayerDataPath();
    for (const char* folder : {"", "/OtherFiles", "/Pictures"}) RemoveSaveLeftovers(ResolveCase(data + folder));
}

void StartUp() {
    WindowCaption = GetWindowCaption();
    RemoveInterruptedSaves();
    // The hidden work surfaces are memory surfaces that are never shown.
    CreateFormSurfaces();
    LoadSaveOptions(false);
    LoadServerFile();
    // Sets the layout, the background and OptFullScreen either way.
    SetDisplayMode(OptFullScreen == 0);
    LoadingText = "Loading graphics..";
    LoadPictures();
    EnterScore(0);  // reads the score table; a score of 0 enters nothing
    LoadingText = "Loading sounds..";
    LoadSounds();
    LoadingText = "Loading DirectInput..";
    CreateKeyboard();
    ClipCursorToField(false);
    LoadingProgress();
    DegToRad = 4.0 * std::atan(1.0) / 180.0;
    MainLoop();
}

void MainLoopBegin() {
    GamePaused = 0;
    GameRunning = 0;
    LoadSaveOptions(false);
    // The display is what it is, whatever the file says.
    if (WindowIsOpen()) OptFullScreen = WindowIsFullScreen() ? 0 : 8;
    GenerateMaps();
    CopyPicture(MenuField, Terain);
    BlendBlit(MainMenu, 15, 15, 270, 270, MenuField, 0, 0, 270, 270, 55);
    PlaySound(26, 10.0 / 3.0 * 150);
}

void MainLoopPass() {
    ClipCursorToField(false);
    UpdateCursor();
    ReadKeyboard();

    // The menu shimmers over the previous picture.
    if (MenuCode != "WS" && OptAlphaBlend == 0)
        BlendBlit(MenuField, 0, 0, 300, 300, Field, 0, 0, 300, 300, static_cast<int>(Int(EffectRnd() * 65)));
    else
        BitBlt(Field, 0, 0, 300, 300, MenuField, 0, 0, SRCCOPY);

    MaskedDraw(Field, CursorX - 9, CursorY - 9, 18, 18, CursorMenu, 0, 0, 18, 0);

    // Each test reads MenuCode afresh: a screen that switches to a later code
    // hands over within this pass.
    if (MenuCode == "") MainMenuScreen();
    if (MenuCode == "HS") HighScoresScreen();
    if (MenuCode == "WS") WorldScoresScreen();
    if (MenuCode == "OPTIONS") OptionsScreen();
    if (MenuCode == "HELP") HelpScreen();
    if (MenuCode == "ABOUT") CreditsScreen();

    if (GameRunning) {
        // A watched game takes no aim: the mouse stays free.
        if (!GamePaused && !ReplayIsPlaying()) ClipCursorToField(true);
        for (int i = 0; i <= 3; i++)
            if (BoostTimers[i] > 0) PlaySound(36, 500);
        if (AirPlaneActive == -1) PlaySound(9, 500);
        if (BugerActive == -1) PlaySound(8, 500);
        while (!GamePaused && GameRunning) FrameStep();
        MouseLeft = 0;
        StopSound(22);
        StopSound(36);
        StopSound(9);
        StopSound(8);
    }

    MenuEffects();

    if (OptDebugInfo == 0) {
        Field.TextColour = RGB(0xC0, 0xFF, 0xC0);
        TextOut(Field, 130, 2, DebugMemoryLine(MemStatus.TotalPhys, MemStatus.AvailPhys));
    }

    PresentForm();
    RecordPausedPass();
    ClockStep();
    DoEvents();
}

[[noreturn]] void MainLoop() {
    MainLoopBegin();
    for (;;) MainLoopPass();
}

void ShutDown() {
    ClipCursorToField(false);
    ReleaseInput();
    FreeSounds();
    FreePictures();
    CloseWindow();
    EndProcess(0);
}

void BlendBlit(const Surface& srcDC, int destX, int destY, int destW, int destH, Surface& destDC, int srcX, int srcY,
               int srcW, int srcH, int percent) {
    // 256 / 100 x percent must fit a byte: 100 % is not allowed.
    int alpha = Whole(256.0 / 100.0 * percent);
    if (alpha < 0 || alpha > 255) return;
    AlphaBlend(destDC, destX, destY, destW, destH, srcDC, srcX, srcY, srcW, srcH, alpha);
}

// The status bar sits a row below the field, wherever the field lies.
void PresentForm() { PresentWindow(Field, FieldOffsetX, FieldOffsetY, StatusField, FieldOffsetX, FieldOffsetY + 301); }
void DoEvents() { ProcessWindowEvents(); }
