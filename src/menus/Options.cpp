#include "menus/Options.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "input/DirectInputMod.h"
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
    {&OptBloodFly, nullptr},   {&OptBloodStays, nullptr},   {&OptBulletFly, nullptr},  {&OptDebugInfo, nullptr},
    {&OptScoreInfo, nullptr},  {&OptSnow, nullptr},         {&OptMono, nullptr},       {&MusicVolume, nullptr},
    {nullptr, &PlayMinutes},   {nullptr, &TimesPlayed},     {&OptFootSteps, nullptr},  {&MapsGenerated, nullptr},
    {&OptFullScreen, nullptr}, {&OptRealMovement, nullptr}, {&OptAlphaBlend, nullptr}, {&OptKillsInRow, nullptr},
};

// The menu panel's colour, around the picture when the window is larger.
constexpr COLORREF PanelColour = RGB(0xD4, 0xE2, 0xF2);

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
    // The pointer stays on the same pixel of the field.
    int mx = 0, my = 0;
    GetMouseInClient(mx, my);
    const int fx = mx - FieldOffsetX, fy = my - FieldOffsetY;
    const bool switched = SetWindowFullScreen(full, 300, 379);
    const std::string why = WindowError();
    const bool isFull = WindowIsFullScreen();
    // The setting tells what the screen shows.
    OptFullScreen = isFull ? 0 : 8;
    // The field's place in the picture; the cursor is measured from it.
    FieldOffsetX = isFull ? 170 : 0;
    FieldOffsetY = isFull ? 50 : 0;
    // Task bars and window switchers name the window in either mode.
    SetWindowCaption(WindowCaption);
    SetWindowBackground(isFull ? RGB(0, 0, 0) : PanelColour);
    if (WindowIsOpen() && fx >= 0 && fx < 300 && fy >= 0 && fy < 300)
        MoveMouseInClient(fx + FieldOffsetX, fy + FieldOffsetY);
    // A running game keeps the pointer on the field, wherever it lies now.
    if (GameRunning && !GamePaused) ClipCursorToField(true);
    if (switched || (!full && !WindowIsOpen())) return;
    // The file must not bring back a mode that could not be set.
    LoadSaveOptions(true);
    ShowMessageBox(
        "Dorvik Error!",
        std::string("The display could not be switched to ") + (full ? "full screen" : "a window") + ": " + why,
        MB_OK_EXCLAMATION);
}

void ToggleFullScreen() {
    SetDisplayMode(!WindowIsFullScreen());
    LoadSaveOptions(true);
}
