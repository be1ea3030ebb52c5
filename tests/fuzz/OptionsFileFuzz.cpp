// libFuzzer target: any bytes as the settings file. The reader must not crash,
// the two checked settings must end up 0 or 8, and what it read must write
// back as a file that reads to the same settings.
// fuzz-sources: src/menus/Options.cpp src/shell/GameState.cpp src/shell/Basic.cpp src/platform/Files.cpp
// fuzz-sources: src/platform/Clock.cpp src/platform/GameFolders.cpp src/opponents/KeyFile.cpp
// fuzz-sources: src/platform/Window.cpp src/platform/Present.cpp src/platform/WindowEvents.cpp src/platform/Keyboard.cpp src/platform/FullScreen.cpp src/platform/MessageBox.cpp src/platform/WindowSize.cpp src/platform/Gamepad.cpp
// fuzz-libs: sdl2
// fuzz-runs: 20000
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "menus/Options.h"
#include "shell/GameState.h"

// The reader never starts a game nor switches the display; these keep the
// settings and state modules linkable alone.
void ResetPickups() {}
void ResetSheep() {}
void ResetAcid() {}
void ResetBlood() {}
void ResetSnow() {}
void ResetCleaner() {}
void ResetAirPlane() {}
void ResetScoreInfo() {}
void ClipCursorToField(bool) {}

namespace {
std::array<Long, 16> Settings() {
    return {OptBloodFly,   OptBloodStays,   OptBulletFly,  OptDebugInfo, OptScoreInfo, OptSnow,
            OptMono,       MusicVolume,     PlayMinutes,   TimesPlayed,  OptFootSteps, MapsGenerated,
            OptFullScreen, OptRealMovement, OptAlphaBlend, OptKillsInRow};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Values a damaged line must leave alone.
    OptBloodFly = OptBloodStays = OptBulletFly = OptDebugInfo = OptScoreInfo = OptSnow = OptMono = 3;
    OptFootSteps = OptFullScreen = OptRealMovement = OptAlphaBlend = OptKillsInRow = MapsGenerated = 3;
    MusicVolume = 50;
    PlayMinutes = TimesPlayed = 7;
    ReadOptionsText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (OptFullScreen != 0 && OptFullScreen != 8) std::abort();
    if (OptFootSteps != 0 && OptFootSteps != 8) std::abort();
    const auto read = Settings();
    const std::string text = OptionsText();
    ReadOptionsText(text);
    if (Settings() != read || OptionsText() != text) std::abort();
    return 0;
}
