#include "worldscores/ScoreScreens.h"

#include "battle/StatusBar.h"
#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "platform/Files.h"
#include "scores/NameText.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "worldscores/FTPmod.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"

namespace {
std::string Blanked(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}
}  // namespace

void HighScoresScreen() {
    CheckConnection();
    Field.FontBold = true;
    MenuItem("HIGH SCORES", 30, 25, 10, False);
    if (EnteringName != True) {  // no way out while a name is typed
        MenuItem("MAIN MENU", 30, 260, 10, True);
        if (MenuClickedY == 260) {
            MenuCode = "";
            // The click must not reach the main menu's item at the same place.
            MenuClickedY = 0;
            EndScreen();
            return;
        }
        // The world table opens with or without a connection: the last one
        // downloaded is worth seeing offline.
        MenuItem("WORLD SCORES", 165, 260, 10, True);
        if (MenuClickedY == 260) {
            MenuCode = "WS";
            MenuClickedY = 0;
            EndScreen();
            return;
        }
        // The hint gives way to the line that says why a recording cannot play.
        if (!Connected && LocalPick.Message.empty()) MenuItem("PLEASE CONNECT FIRST", 165, 250, 6, False);
    }
    MenuClickedY = 0;
    Field.FontBold = false;
    // The world table's state, as on the world screen.
    ReadWorldFile();
    MenuItem("LAST UPDATE: " + LastUpdateText, 30, 226, 8, False);
    MenuItem("UPLOADS BY ALL USERS: " + StrInt(UploadsByAll), 30, 237, 8, False);

    const bool wasEntering = EnteringName == True;
    EnterScore(0);  // reads the table when due and runs the name entry
    const bool naming = EnteringName == True;
    // The game just named is picked, ready to be watched.
    if (wasEntering && !naming && NewEntryIndex >= 0 && NewEntryIndex <= 9)
        PickEntry(LocalPick, &TopScores[NewEntryIndex]);

    int hovered = -1, picked = -1;
    for (int r = 0; r <= 9; r++) {
        if (ScoreValue(r) <= 0) continue;
        int y = 50 + 14 * r;
        MenuItem(StrInt(r + 1) + ".", 30, y, 9, False);
        MenuItem(TopScores[r].Score, 50, y, 9, False);
        MenuItem(AnsiToUtf8(TopScores[r].Name), 85, y, 9, False);
        if (MenuHoverY == y) hovered = r;
        if (!naming && RowClicked(y)) PickEntry(LocalPick, &TopScores[r]);
        if (IsPicked(LocalPick, TopScores[r])) picked = r;
    }
    // None picked: the best game that can be watched, so the item is found.
    for (int r = 0; r <= 9 && picked < 0 && !naming; r++)
        if (ScoreValue(r) > 0 && FileExistsOnDisk(ReplayFilePath(TopScores[r]))) {
            PickEntry(LocalPick, &TopScores[r]);
            picked = r;
        }
    // The row under the mouse, else the one picked.
    const int selected = hovered >= 0 ? hovered : picked;
    if (selected >= 0) {
        EntryDetails(selected);
        Field.FontBold = true;
        MenuItem(AnsiToUtf8(TopScores[selected].Name), 30, 193, 12, False);
        Field.FontBold = false;
        MenuItem("Times played: " + TopScores[selected].TimesPlayed, 30, 210, 10, False);
    }
    // Not over a paused game: watching would end it.
    if (picked >= 0 && !naming && !GameRunning) {
        MarkPickedRow(50 + 14 * picked);
        const std::string file = ReplayFilePath(TopScores[picked]);
        if (FileExistsOnDisk(file)) {
            Field.FontBold = true;
            MenuItem("WATCH GAME", WatchItemX, WatchItemY, 10, True);
            Field.FontBold = false;
            if (MenuClickedY == WatchItemY) {
                if (WatchRecordingFile(LocalPick, file)) {
                    EndScreen();
                    return;
                }
            }
        }
    }
    if (!LocalPick.Message.empty()) MenuItem(LocalPick.Message, 30, WatchMessageY, 8, False);
    MaskedDraw(Field, 160, 23, 107, 23, Logo, 0, 0, 0, 24);
    EndScreen();
}

void EntryDetails(int k) { EntryDetailsOf(TopScores[k]); }

void EntryDetailsOf(const ScoreRecord& e) {
    ClearStatusBar();
    BitBlt(StatusField, 0, 0, 300, 10, StatusHealth, 0, 0, SRCCOPY);
    BitBlt(StatusField, 0, 10, 300, 10, StatusAmmo, 0, 0, SRCCOPY);
    TextOut(StatusField, 150, -2, Blanked("[" + e.MaxHealth + "]", 20));
    TextOut(StatusField, 150, 8, Blanked("[" + e.MaxAmmo + "]", 20));
    const Surface* bars[4] = {&StatusAccuracy, &StatusRecharge, &StatusBulletSpeed, &StatusMelee};
    const std::string* ratings[4] = {&e.Accuracy, &e.Recharge, &e.BulletSpeed, &e.Melee};
    for (int i = 0; i < 4; i++) {
        int y = 25 + 10 * i;
        BitBlt(StatusField, 0, y, 300, 10, *bars[i], 0, 0, SRCCOPY);
        int w = Whole(ToNumber(*ratings[i]).value_or(0) * 18.5 + 98);
        BitBlt(StatusField, 0, y, w, 7, *bars[i], 0, 10, SRCCOPY);
    }
    StatusField.TextColour = RGB(0x00, 0xFF, 0x00);
    TextOut(StatusField, 2, 63, "Score=" + e.Score + "     Killed=" + e.Kills);
    TextOut(StatusField, 220, 63, Blanked(" Time=" + e.Time + std::string(20, ' '), 50));
    StatusField.TextColour = RGB(0x00, 0x00, 0x80);
}
