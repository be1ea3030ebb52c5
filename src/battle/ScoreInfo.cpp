// Kills in a row and the score line.
//
// Rules:
// - Kills in a row (OptKillsInRow): a kill within three seconds of the last
//   continues the row. Two, three and four in a row play sounds 42, 43, 44,
//   five and more 45, and each kill in a row earns 5 x (row - 1) bonus
//   points. The InRowBar at the top of the field runs down the three seconds.
//   With the option off there are no rows, no sounds and no bonus.
// - The score line (OptScoreInfo) shows the score, and the place in the local
//   table just ahead with its score; it looks again whenever a unit has died
//   and once a second. An empty first entry means the table was never read:
//   it is read first.
#include "battle/ScoreInfo.h"

#include <algorithm>

#include "graphics/WorkWithMemory.h"
#include "platform/Clock.h"
#include "scores/TopScoreList.h"
#include "shell/GameState.h"
#include "shell/Replay.h"
#include "sound/DirectSoundMod.h"

namespace {

// Kills in a row.
Integer InRow;
uint64_t LastKillTick;

// Score line.
std::string ScoreLineText;
Long ScoreLineFrame;

void MakeScoreLine() {
    if (TopScores[0].Score.empty()) EnterScore(0);  // the table was never read
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

void StatusBarStep() {
    if (InRow == 0 || OptKillsInRow != 0) return;
    uint64_t gone = BattleTick() - LastKillTick;
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
    uint64_t now = BattleTick();
    // A first kill counts up from 0 to 1 as well.
    if (now - LastKillTick <= StreakWindowMs) InRow++;
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

void ResetScoreInfo() {
    InRow = 0;
    LastKillTick = 0;
    BonusScore = 0;
    UnitDied = 0;
    ScoreLineText.clear();  // rebuilt on the next frame, which restarts its count
}
