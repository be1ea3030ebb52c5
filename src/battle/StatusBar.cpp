// The status bar below the field and the texts and indicators over it.
//
// Rules:
// - DrawStatusBar (twice a second and at the end of a game) repaints StatusField
//   from its background picture: health (row 0) against full health
//   BulletSpeed x 30 and ammunition (row 10) against what the player can carry,
//   (16 - Recharge) x 30, each with its maximum in brackets; the four skills
//   (rows 25, 35, 45, 55) as fills of their 11 steps from a recruit to the
//   best along the track right of the label (98 + 18.5 per step), with the
//   experience towards the next step as the marker below (rows 33 .. 63);
//   then kills, game time and score.
// - SkillScore rewards what a good game shows, whatever the hits scored:
//     10 per kill
//   + 1 per two seconds survived
//   + 25 per skill step gained (accuracy (30 - Spread) \ 3, recharge
//     15 - Recharge, bullet speed BulletSpeed - 3, melee Melee) and a quarter
//     of the experience gathered towards the next steps
//   + BonusScore (kills in a row).
//   The final score is HitScore + SkillScore.
// - Kills in a row (OptKillsInRow): a kill within three seconds of the last
//   continues the row. Two, three and four in a row play sounds 42, 43, 44,
//   five and more 45, and each kill in a row earns 5 x (row - 1) bonus
//   points. The InRowBar at the top of the field runs down the three seconds.
//   With the option off there are no rows, no sounds and no bonus.
// - The score line (OptScoreInfo) shows the score, and the place in the local
//   table just ahead with its score; it looks again whenever a unit has died
//   and once a second.
// - The fire-mode indicator shows one bullet per bullet a shot fires and the
//   ammunition, and the bomb icon with the bombs the ammunition pays for.
// - Over the menus, when blood flies, blood drips from the moving cursor and
//   now and then a splash lands somewhere on the menu.
#include "battle/StatusBar.h"

#include <algorithm>
#include <cmath>

#include "battle/Acid.h"
#include "battle/Blood.h"
#include "battle/Sheep.h"
#include "battle/Snow.h"
#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "opponents/Cleaner.h"
#include "opponents/Pickups.h"
#include "platform/Clock.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "sound/DirectSoundMod.h"

namespace {

Surface StatusBackground;

// Kills in a row.
Integer InRow;
uint64_t LastKillTick;

// Score line.
std::string ScoreLineText;
Long ScoreLineFrame;

// Menu blood.
struct MenuDrop {
    Single X, Y, DX, DY;
    Integer Life;
};
constexpr int MaxMenuDrops = 400;
MenuDrop MenuDrops[MaxMenuDrops];
int NextMenuDrop;
Long LastCursorX = -1, LastCursorY = -1;

int Clamp300(double w) { return static_cast<int>(std::clamp(w, 0.0, 300.0)); }

void DrawBar(const Surface& sheet, int row, double value, double full, const std::string& text) {
    BitBlt(StatusField, 0, row, 300, 10, sheet, 0, 0, SRCCOPY);
    BitBlt(StatusField, 0, row, Clamp300(full > 0 ? value * 300 / full : 0), 10, sheet, 0, 10, SRCCOPY);
    TextOut(StatusField, 4, row - 1, text);
}

// The strip carries its label left of the track, so the fill always shows
// the label and then one 18.5-pixel cell per step; the experience marker runs
// along the track below it.
void DrawSkill(const Surface& sheet, int row, int steps, int xp) {
    BitBlt(StatusField, 0, row, 300, 10, sheet, 0, 0, SRCCOPY);
    BitBlt(StatusField, 0, row, Clamp300(SkillTrackX + steps * SkillCellWidth), 7, sheet, 0, 10, SRCCOPY);
    int marker = std::clamp(xp, 0, 100) * (300 - SkillTrackX) / 100;
    BitBlt(StatusField, SkillTrackX, row + 8, marker, 2, sheet, SkillTrackX, 18, SRCCOPY);
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + StrInt(v); }

void MakeScoreLine() {
    Long mine = HitScore + SkillScore;
    int place = 0;
    double ahead = 0;
    for (int i = 0; i < 10; i++) {
        auto v = ToNumber(Trim(TopScores[i].Score));
        if (!v || *v <= mine) continue;
        if (place == 0 || *v < ahead) {
            place = i + 1;
            ahead = *v;
        }
    }
    ScoreLineText = "Score: " + StrInt(mine);
    if (place == 0) ScoreLineText += "   Top of the table!";
    else ScoreLineText += "   Ahead: #" + StrInt(place) + "  " + StrInt(static_cast<long long>(ahead));
}

}  // namespace

int SkillSteps(const Unit& p, int skill) {
    int s = 0;
    switch (skill) {
        case 0: s = IDiv(30 - p.Spread, 3); break;
        case 1: s = 15 - p.Recharge; break;
        case 2: s = p.BulletSpeed - 3; break;
        default: s = p.Melee; break;
    }
    return std::max(s, 0);
}

Long ComputeSkillScore() {
    const Unit& p = Units[0];
    Long steps = 0;
    for (int k = 0; k < 4; k++) steps += SkillSteps(p, k);
    Long xp = p.AccuracyXP + p.RechargeXP + p.SpeedXP + p.MeleeXP;
    Long seconds = GameMinutes * 60L + GameSeconds;
    return Kills * 10L + seconds / 2 + steps * 25 + xp / 4 + BonusScore;
}

void SetStatusBackground() { CopyPicture(StatusBackground, StatusField); }

void DrawStatusBar() {
    SkillScore = ComputeSkillScore();
    if (StatusField.Width <= 0) return;
    if (StatusBackground.Width != StatusField.Width || StatusBackground.Height != StatusField.Height)
        SetStatusBackground();
    BitBlt(StatusField, 0, 0, StatusField.Width, StatusField.Height, StatusBackground, 0, 0, SRCCOPY);

    const Unit& p = Units[0];
    StatusField.FontSize = 7;
    StatusField.FontBold = false;
    StatusField.TextColour = RGB(255, 255, 255);
    double full = p.BulletSpeed * 30.0;
    double carry = (16 - p.Recharge) * 30.0;
    DrawBar(StatusHealth, 0, p.Health, full,
            "Health " + StrInt(Whole(p.Health)) + " (" + StrInt(Whole(full)) + ")");
    DrawBar(StatusAmmo, 10, p.Ammo, carry, "Ammo " + StrInt(p.Ammo) + " (" + StrInt(Whole(carry)) + ")");
    DrawSkill(StatusAccuracy, 25, SkillSteps(p, 0), p.AccuracyXP);
    DrawSkill(StatusRecharge, 35, SkillSteps(p, 1), p.RechargeXP);
    DrawSkill(StatusBulletSpeed, 45, SkillSteps(p, 2), p.SpeedXP);
    DrawSkill(StatusMelee, 55, SkillSteps(p, 3), p.MeleeXP);

    StatusField.FontSize = 8;
    StatusField.FontBold = true;
    TextOut(StatusField, 4, 65,
            "Kills: " + StrInt(Kills) + "   Time: " + StrInt(GameMinutes) + ":" + TwoDigits(GameSeconds) +
                "   Score: " + StrInt(HitScore + SkillScore));
    StatusField.FontBold = false;
}

void StatusBarStep() {
    if (InRow == 0 || OptKillsInRow != 0) return;
    uint64_t gone = GetTickCount() - LastKillTick;
    if (gone > StreakWindowMs) {
        InRow = 0;
        return;
    }
    int w = static_cast<int>((StreakWindowMs - gone) * static_cast<uint64_t>(InRowBarWidth) / StreakWindowMs);
    BitBlt(Field, 0, 0, w, 3, InRowBar, 0, 0, SRCCOPY);
    if (InRow >= 2) {
        Field.FontSize = 8;
        Field.FontBold = true;
        Field.TextColour = RGB(255, 60, 40);
        TextOut(Field, 232, 18, StrInt(InRow) + " in a row");
        Field.FontBold = false;
    }
}

void KillEvent() {
    if (OptKillsInRow != 0) return;
    uint64_t now = GetTickCount();
    if (InRow > 0 && now - LastKillTick <= StreakWindowMs) InRow++;
    else InRow = 1;
    LastKillTick = now;
    if (InRow >= 2) {
        PlaySound(42 + std::min(InRow - 2, 3), 500);
        BonusScore += 5L * (InRow - 1);
    }
}

int KillsInRow() { return InRow; }

void ScoreInfoLine() {
    if (OptScoreInfo != 0) return;
    if (UnitDied || ScoreLineText.empty() || ++ScoreLineFrame >= 33) {
        UnitDied = 0;
        ScoreLineFrame = 0;
        MakeScoreLine();
    }
    BitBlt(Field, 1, 3, 298, 13, Layer, 0, 0, SRCCOPY);
    Field.FontSize = 8;
    Field.FontBold = false;
    Field.TextColour = RGB(255, 255, 255);
    TextOut(Field, 5, 3, ScoreLineText);
}

const std::string& ScoreLine() { return ScoreLineText; }

void FireModeIndicator() {
    const Unit& p = Units[0];
    MaskedDraw(Field, 3, 282, 85, 15, LayerScore, 0, 0, 0, 15);
    int shot = std::clamp<int>(FireMode, 1, 3) * BulletsOutCell;
    MaskedDraw(Field, 8, 282, shot, 11, BulletsOut, 0, 0, 0, 11);
    Field.FontSize = 8;
    Field.FontBold = true;
    Field.TextColour = RGB(255, 255, 255);
    TextOut(Field, 44, 282, StrInt(std::max<int>(p.Ammo, 0)));
    int bombs = std::max<int>(p.Ammo, 0) / BombCost;
    if (bombs > 0) {
        MaskedDraw(Field, 270, 270, 30, 30, BombIcon, 0, 0, 30, 0);
        TextOut(Field, 272, 271, StrInt(bombs));
    }
    Field.FontBold = false;
}

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
            double a = Rnd() * 360 * DegToRad;
            double v = speed * (0.2 + Rnd() * 0.8);
            d.X = static_cast<Single>(x);
            d.Y = static_cast<Single>(y);
            d.DX = static_cast<Single>(std::cos(a) * v);
            d.DY = static_cast<Single>(std::sin(a) * v - 1);
            d.Life = static_cast<Integer>(Int(Rnd() * 25) + 15);
        }
    };
    if (LastCursorX >= 0 && (CursorX != LastCursorX || CursorY != LastCursorY)) spray(CursorX, CursorY, 2, 1.5);
    LastCursorX = CursorX;
    LastCursorY = CursorY;
    if (Rnd() < 1.0 / 45) spray(Rnd() * 300, Rnd() * 300, 25, 3);

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

void ResetBattlefield() {
    ResetPickups();
    ResetSheep();
    ResetAcid();
    ResetBlood();
    ResetSnow();
    ResetCleaner();
    ResetAirPlane();
    InRow = 0;
    LastKillTick = 0;
    BonusScore = 0;
    SkillScore = 0;
    UnitDied = 0;
    ScoreLineText.clear();
    ScoreLineFrame = 0;
}
