// The status bar below the field, and the fire-mode indicator over it.
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
// - The fire-mode indicator shows one bullet per bullet a shot fires and the
//   ammunition, and the bomb icon with the bombs the ammunition pays for.
#include "battle/StatusBar.h"

#include <algorithm>
#include <cmath>

#include "graphics/WorkWithMemory.h"
#include "opponents/AirPlane.h"
#include "shell/GameState.h"
#include "shell/Replay.h"

namespace {

Surface StatusBackground;

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

}  // namespace

int SkillSteps(const Unit& p, int skill) {
    int s;
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

void ClearStatusBar() {
    if (StatusBackground.Width > 0)
        BitBlt(StatusField, 0, 0, StatusField.Width, StatusField.Height, StatusBackground, 0, 0, SRCCOPY);
    else
        FillSurface(StatusField, 0);
}

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
    // A watched game says so, and how to leave it.
    if (ReplayState == ReplayMode::Watching) {
        StatusField.FontSize = 7;
        StatusField.TextColour = RGB(0xC0, 0xFF, 0xC0);
        TextOut(StatusField, 236, 66, "REPLAY - ESC");
    }
}

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
