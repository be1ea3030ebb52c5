// The options screen and the two static screens, help and credits.
#include <string>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "menus/Options.h"
#include "shell/GameState.h"
#include "worldscores/FTPmod.h"

namespace {
// The common head of a sub-screen: its title and "MAIN MENU". True when
// "MAIN MENU" was clicked and the screen is left.
bool ScreenHead(const std::string& title) {
    Field.FontBold = true;
    MenuItem(title, 30, 25, 10, 0);
    MenuItem("MAIN MENU", 30, 260, 10, -1);
    if (MenuClickedY == 260) {
        // Cleared here too: the main menu's "EXIT GAME" sits at the same y.
        MenuClickedY = 0;
        MenuCode = "";
        return true;
    }
    return false;
}

void ScreenEnd(int logoY) {
    MenuClickedY = 0;
    MaskedDraw(Field, 160, logoY, 107, 23, Logo, 0, 0, 0, 24);
    EndScreen();
}

void Toggle(Integer& setting) { setting = setting == 0 ? 8 : 0; }

void CheckRow(int boxX, int boxY, int labelX, int labelY, const std::string& label, Integer& setting) {
    BitBlt(Field, boxX, boxY, 8, 8, Check, setting, 0, SRCCOPY);
    MenuItem(label, labelX, labelY, 8, -1);
    if (MenuClickedY == labelY) Toggle(setting);
}
}  // namespace

void OptionsScreen() {
    Field.FontBold = true;
    // Kept fresh for the score screens, as they do on every pass.
    CheckConnection();
    MenuItem("OPTIONS", 30, 25, 10, 0);
    MenuItem("MAIN MENU", 30, 260, 10, -1);
    if (MenuClickedY == 260) {
        MenuClickedY = 0;
        MenuCode = "";
        return;
    }
    Field.FontBold = false;
    CheckRow(30, 53, 42, 50, "Snow", OptSnow);
    CheckRow(30, 63, 42, 60, "Bullet fly effect", OptBulletFly);
    CheckRow(30, 73, 42, 70, "Blood (fly)", OptBloodFly);
    CheckRow(30, 83, 42, 80, "Blood stays on ground", OptBloodStays);
    CheckRow(30, 93, 42, 90, "Foot-steps", OptFootSteps);
    CheckRow(30, 103, 42, 100, "Debug info", OptDebugInfo);
    CheckRow(30, 113, 42, 110, "Score info (YourScore,Place in front and his score)", OptScoreInfo);
    CheckRow(150, 53, 162, 51, "AlphaBlend (transp.)", OptAlphaBlend);
    CheckRow(150, 63, 162, 61, "KillsInRow (status bar)", OptKillsInRow);

    BitBlt(Field, 30, 128, 8, 8, Check, OptFullScreen, 0, SRCCOPY);
    MenuItem("Full Screen (640x480)", 42, 125, 8, -1);
    if (MenuClickedY == 125) {
        Toggle(OptFullScreen);
        SetDisplayMode(OptFullScreen == 0);
    }

    SoundOff = MusicVolume < 1 ? 8 : 0;
    BitBlt(Field, 30, 143, 8, 8, Check, SoundOff, 0, SRCCOPY);
    MenuItem("Sound Volume: " + StrInt(MusicVolume) + "% (Press - and + to change it)", 42, 140, 8, 0);

    BitBlt(Field, 30, 153, 8, 8, Check, SoundOff, 0, SRCCOPY);
    // A hand-edited value other than 0 and 8 shows no label and cannot be clicked.
    if (OptMono == 0) MenuItem("Sound: Stereo", 42, 150, 8, -1);
    else if (OptMono == 8) MenuItem("Sound: Mono", 42, 150, 8, -1);
    if (MenuClickedY == 150) Toggle(OptMono);

    BitBlt(Field, 30, 163, 8, 8, Check, 0, 0, SRCCOPY);
    if (OptRealMovement == 0) MenuItem("Movement: Static (Up, down, left, right)", 42, 160, 8, -1);
    else if (OptRealMovement == 8) MenuItem("Movement: Real (Following the cursor)", 42, 160, 8, -1);
    if (MenuClickedY == 160) Toggle(OptRealMovement);

    Field.FontBold = true;
    MenuItem("GAME INFO", 30, 175, 10, 0);
    Field.FontBold = false;
    // Carrying minute by minute: a negative total shows as zero.
    Long minutes = PlayMinutes > 0 ? PlayMinutes : 0;
    Long days = minutes / (24 * 60);
    Long hours = (minutes / 60) % 24;
    minutes %= 60;
    MenuItem("You are playing Dorvik for:", 30, 190, 8, 0);
    MenuItem("Days: " + StrInt(days), 30, 200, 8, 0);
    MenuItem("Hours: " + StrInt(hours), 30, 210, 8, 0);
    MenuItem("Minutes: " + StrInt(minutes), 30, 220, 8, 0);
    MenuItem("Times played: " + StrInt(TimesPlayed), 30, 235, 8, 0);
    ScreenEnd(23);
}

void HelpScreen() {
    if (ScreenHead("HELP ME")) return;
    auto line = [](const std::string& text, int x, int y, bool bold) {
        Field.FontBold = bold;
        MenuItem(text, x, y, 8, 0);
    };
    line("GAME KEYS:", 30, 50, true);
    line("Left mouse click for shooting", 30, 60, false);
    line("Right mouse for droping bombs", 30, 70, false);
    line("Moving with arrow keys or W,S,A,D", 30, 80, false);
    line("Change BulletsOut with 'Q' or 'CTRL'", 30, 90, false);
    line("GENERAL KEYS:", 30, 105, true);
    line("'+' and '-' for volume", 30, 115, false);
    line("'Enter' for New/resume game", 30, 125, false);
    line("'Escape' for pause", 30, 135, false);
    BitBlt(Field, 30, 150, 23, 32, Help1, 0, 0, SRCCOPY);
    line("That number shows how many bullets", 57, 147, false);
    line("has left in crate when you are over it!", 57, 157, false);
    BitBlt(Field, 30, 185, 62, 20, Help2, 0, 0, SRCCOPY);
    line("Your health (Max.health)", 96, 182, false);
    line("Your ammo (Max.ammo)", 96, 192, false);
    BitBlt(Field, 30, 208, 32, 32, Help3, 0, 0, SRCCOPY);
    line("Number of bombs you can drop.", 66, 205, false);
    line("One bomb = 15 bullets", 66, 215, false);
    BitBlt(Field, 30, 243, 7, 7, Acid, 0, 0, SRCCOPY);
    line("Drugs -'four of them' two good and two bad !", 41, 240, false);
    ScreenEnd(30);
}

void CreditsScreen() {
    if (ScreenHead("ABOUT")) return;
    Field.FontBold = true;
    MenuItem("Dorvik for Linux", 30, 50, 18, 0);
    MenuItem("Creators of Dorvik :", 30, 80, 10, 0);
    Field.FontBold = false;
    MenuItem("The Dorvik for Linux contributors", 30, 95, 8, 0);
    MenuItem("  (game code, rules, menus and tests)", 30, 105, 8, 0);
    MenuItem("Pictures, sounds and music", 30, 120, 8, 0);
    MenuItem("  (made by our own generator at build time)", 30, 130, 8, 0);
    MenuItem("Built on SDL2, SDL2_image, SDL2_ttf", 30, 145, 8, 0);
    MenuItem("  and libcurl", 30, 155, 8, 0);
    MenuItem("Copyright (c) 2026", 30, 170, 8, 0);
    MenuItem("  the Dorvik for Linux contributors", 30, 180, 8, 0);
    MenuItem("Free software: MIT licence", 30, 200, 10, 0);
    MenuItem("(see the LICENSE file)", 30, 210, 10, 0);
    MenuItem("Thank you for playing!", 30, 230, 8, 0);
    MenuItem("Stay warm out there.", 30, 241, 8, 0);
    ScreenEnd(30);
}
