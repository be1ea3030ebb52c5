// The world score screen: ten rows of the world table at a time with a
// slider, marks for records new since the last update, and the details of the
// row under the mouse.
#include <algorithm>

#include "graphics/WorkWithMemory.h"
#include "menus/Menus.h"
#include "scores/NameText.h"
#include "shell/GameState.h"
#include "worldscores/FTPmod.h"
#include "worldscores/ScoreScreens.h"
#include "worldscores/TopWorldScore.h"
#include "worldscores/WatchGame.h"

namespace {
Long ClampKnob(Long y) { return std::clamp<Long>(y, 51, 175); }
}  // namespace

void WorldScoresScreen() {
    CheckConnection();
    Field.FontBold = true;
    MaskedDraw(Field, 270, 50, 10, 140, SliderMenu, 0, 0, 10, 0);
    // The knob and the cursor keys move the same scroll position.
    SliderKnobY = ClampKnob(static_cast<Long>(WorldScroll));
    BitBlt(Field, 271, SliderKnobY, 8, 14, SliderDrag, 0, 0, SRCCOPY);
    if (MouseLeft && 270 < CursorX && CursorX < 280 && 30 < CursorY - 7 && CursorY - 7 < 210) {
        SliderKnobY = ClampKnob(CursorY - 7);
        WorldScrollOffset = (SliderKnobY - 51) * 90.0 / 124.0;
    }
    WorldScroll = SliderKnobY;
    MenuItem("WORLD SCORES", 30, 25, 10, 0);
    MenuItem("MAIN MENU", 30, 260, 10, -1);
    if (MenuClickedY == 260) {
        MenuClickedY = 0;
        MenuCode = "";
        return;
    }
    // Without a server to talk to, connecting would not help either.
    const bool serverSet = !ScoreServerHost.empty();
    // The hint gives way to the line that says why a recording cannot play.
    const bool hint = WorldPick.Message.empty();
    if (hint && !serverSet)
        MenuItem("NO SCORE SERVER SET", 125, 250, 6, 0);
    else if (hint && !Connected)
        MenuItem("PLEASE CONNECT FIRST", 125, 250, 6, 0);
    const Integer canSync = Connected && serverSet ? True : False;
    MenuItem("SYNCHRONIZE SCORES", 125, 260, 10, canSync);
    if (MenuClickedY == 260 && canSync) SynchronizeScores();
    // Off until the player says otherwise; kept in Server.txt.
    BitBlt(Field, 168, 228, 8, 8, Check, SendScores, 0, SRCCOPY);
    MenuItem("SEND MY SCORES", 180, 224, 10, True);
    if (MenuClickedY == 224) {
        SendScores = SendScores == 0 ? 8 : 0;
        SaveSendScores();
    }
    MenuClickedY = 0;
    Field.FontBold = false;
    MenuItem("LAST UPDATE: " + LastUpdateText, 30, 226, 8, 0);
    MenuItem("UPLOADS BY ALL USERS: " + StrInt(UploadsByAll), 30, 237, 8, 0);

    ReadWorldFile();
    const std::string t = Trim(LastUpdateText);
    LastUpdateKey = Mid(t, 7, 4) + Mid(t, 4, 2) + Mid(t, 1, 2);

    int selected = -1, picked = -1;
    for (int r = 0; r <= 9; r++) {
        int k = static_cast<int>(Int(WorldScrollOffset)) + r;
        if (k < 0 || k > 500) continue;
        const ScoreRecord& e = WorldScores[k];
        auto score = ToNumber(e.Score);
        if (!score || *score <= 0) continue;
        const std::string date = Trim(e.Date);
        if (date.empty() || date[0] != '?') WorldMarks[k] = date >= LastUpdateKey ? 1 : 2;
        int markY = WorldMarks[k] == 1 ? 0 : WorldMarks[k] == 0 ? 9 : 18;
        BitBlt(Field, 75, 53 + 14 * r, 9, 9, ScoreUpDown, 0, markY, SRCCOPY);
        const int y = 50 + 14 * r;
        MenuItem(StrInt(k + 1) + ".", 30, y, 9, 0);
        if (MenuHoverY == y) selected = r;
        MenuItem(e.Score, 50, y, 9, 0);
        if (MenuHoverY == y) selected = r;
        MenuItem(AnsiToUtf8(e.Name), 85, y, 9, 0);
        if (MenuHoverY == y) selected = r;
        if (RowClicked(y)) PickEntry(WorldPick, &e);
        if (IsPicked(WorldPick, e)) picked = r;
    }
    // The row under the mouse, else the one picked.
    if (selected < 0) selected = picked;
    if (selected >= 0) {
        int k = static_cast<int>(Int(WorldScrollOffset)) + selected;
        EntryDetailsOf(WorldScores[k]);
        Field.FontBold = true;
        MenuItem(AnsiToUtf8(WorldScores[k].Name), 30, 193, 12, 0);
        Field.FontBold = false;
        MenuItem("Times played: " + WorldScores[k].TimesPlayed, 30, 210, 8, 0);
    }
    if (picked >= 0) MarkPickedRow(50 + 14 * picked);
    // The score server keeps the recordings of the games it has replayed.
    // Not over a paused game: watching would end it.
    if (picked >= 0 && serverSet && Connected && !GameRunning) {
        Field.FontBold = true;
        MenuItem("WATCH GAME", WatchItemX, WatchItemY, 10, True);
        Field.FontBold = false;
        if (MenuClickedY == WatchItemY) {
            MenuClickedY = 0;
            if (WatchWorldEntry(WorldPick, WorldScores[static_cast<int>(Int(WorldScrollOffset)) + picked])) {
                EndScreen();
                return;
            }
        }
    }
    if (!WorldPick.Message.empty()) MenuItem(WorldPick.Message, 30, WatchMessageY, 8, 0);
    MaskedDraw(Field, 160, 30, 107, 23, Logo, 0, 0, 0, 24);
    EndScreen();
}
