#include "menus/Options.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Window.h"
#include "shell/GameState.h"

namespace {
// The sixteen lines of the settings file, in file order.
struct OptionLine {
    Integer* Small;
    Long* Large;
};
const OptionLine Lines[16] = {
    {&OptBloodFly, nullptr},   {&OptBloodStays, nullptr}, {&OptBulletFly, nullptr},   {&OptDebugInfo, nullptr},
    {&OptScoreInfo, nullptr},  {&OptSnow, nullptr},       {&OptMono, nullptr},        {&MusicVolume, nullptr},
    {nullptr, &PlayMinutes},   {nullptr, &TimesPlayed},   {&OptFootSteps, nullptr},   {&MapsGenerated, nullptr},
    {&OptFullScreen, nullptr}, {&OptRealMovement, nullptr}, {&OptAlphaBlend, nullptr}, {&OptKillsInRow, nullptr},
};

std::string OptionsPath() { return GamePath("\\OtherFiles\\Options.txt"); }

// The integer part of the line; text that is not a number, or a number too
// large for the setting, leaves the setting as it was.
void Assign(const OptionLine& line, const std::string& text) {
    auto v = ToNumber(text);
    if (!v) return;
    double whole = std::trunc(*v);
    if (line.Small) {
        if (whole < -32768 || whole > 32767) return;
        *line.Small = static_cast<Integer>(whole);
    } else {
        if (whole < -2147483648.0 || whole > 2147483647.0) return;
        *line.Large = static_cast<Long>(whole);
    }
}
}  // namespace

std::string OptionsText() {
    std::string data;
    for (const OptionLine& line : Lines) data += PrintNum(line.Small ? *line.Small : *line.Large) + "\r\n";
    return data;
}

void ReadOptionsText(std::string_view data) {
    const std::vector<std::string> text = SplitTextLines(data);
    // A missing line repeats the text of the line before it.
    std::string last;
    for (size_t i = 0; i < 16; i++) {
        if (i < text.size()) last = text[i];
        Assign(Lines[i], last);
    }
    if (OptFootSteps != 0 && OptFootSteps != 8) OptFootSteps = 0;
    if (OptFullScreen != 0 && OptFullScreen != 8) OptFullScreen = 8;
}

void LoadSaveOptions(bool save) {
    if (save) {
        WriteFileAtomic(OptionsPath(), OptionsText());  // a failed write leaves the old file
        return;
    }
    std::string data;
    if (ReadWholeFile(OptionsPath(), data)) {
        ReadOptionsText(data);
        return;
    }
    // No file: every setting 0, which puts the game in full screen.
    for (const OptionLine& line : Lines) {
        if (line.Small) *line.Small = 0;
        else *line.Large = 0;
    }
}

void SetDisplayMode(bool full) {
    // The field's place in the window's client area; the cursor is measured
    // from it.
    FieldOffsetX = 0;
    FieldOffsetY = 0;
    SetWindowCaption(WindowCaption);
    FieldLeft = 0;
    FieldTop = 0;
    StatusLeft = 0;
    StatusTop = 301;
    if (full) {
        if (SetWindowFullScreen(true, 300, 379)) {
            FieldOffsetX = 170;
            FieldOffsetY = 50;
            SetWindowCaption("");
            FieldLeft = 170;
            FieldTop = 50;
            StatusLeft = 170;
            StatusTop = 351;
            return;
        }
        // Stay in a usable window.
        OptFullScreen = 8;
        SetWindowFullScreen(false, 300, 379);
        ShowMessageBox("Dorvik Error!", "Cannot activate DirectX 7! Make sure you have it installed correctly!",
                       MB_OK_EXCLAMATION);
        return;
    }
    SetWindowFullScreen(false, 300, 379);
}
