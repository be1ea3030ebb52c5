// libFuzzer target: any bytes as a unit file. The loader must not crash, must
// fill the slot exactly as a key-by-key scan of the whole text up to "END"
// (line 5000 at most) would, and its text fields must fit their columns.
// fuzz-sources: src/opponents/TextFile.cpp src/shell/GameState.cpp src/shell/Basic.cpp src/platform/Files.cpp
// fuzz-sources: src/platform/Clock.cpp src/platform/GameFolders.cpp src/opponents/KeyFile.cpp
// fuzz-sources: src/platform/Window.cpp src/platform/Present.cpp src/platform/WindowEvents.cpp src/platform/Keyboard.cpp src/platform/FullScreen.cpp src/platform/MessageBox.cpp src/platform/WindowSize.cpp src/platform/Gamepad.cpp
// fuzz-libs: sdl2
// fuzz-runs: 10000
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "opponents/TextFile.h"
#include "platform/Files.h"
#include "shell/Basic.h"
#include "shell/GameState.h"

// The loader never starts a game; these keep the game's state module linkable alone.
void ResetPickups() {}
void ResetSheep() {}
void ResetAcid() {}
void ResetBlood() {}
void ResetSnow() {}
void ResetCleaner() {}
void ResetAirPlane() {}
void ResetScoreInfo() {}

namespace {
const char* const Keys[] = {"NA", "OM", "DE", "HT", "EL", "EE", "ED", "GN", "EM"};

// The value each key stores, scanning every line of the text for every key.
std::vector<std::string> ExpectedValues(std::string_view text) {
    const std::vector<std::string> lines = SplitTextLines(text);
    std::vector<std::string> values;
    std::string value;
    for (const char* key : Keys) {
        for (size_t n = 0; n < lines.size() && n <= 5000; n++) {
            if (lines[n] == "END") break;
            if (Trim(Mid(lines[n], 1, 20)) == key) value = Trim(Mid(lines[n], 22, 20));
        }
        values.push_back(value);
    }
    return values;
}

bool Same(const Unit& a, const Unit& b) {
    auto same = [](float x, float y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return a.UnitName == b.UnitName && a.Ammo == b.Ammo && same(a.Speed, b.Speed) && same(a.Health, b.Health) &&
           a.Spread == b.Spread && a.Melee == b.Melee && a.BulletSpeed == b.BulletSpeed &&
           same(a.BulletRange, b.BulletRange) && a.Recharge == b.Recharge;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (Unit& u : Units) u = Unit{};
    UnitFileValue.clear();
    LoadUnitLines(UnitFileLines(text));
    const Unit& got = Units[0];
    if (LoadedSlot != 0 || got.Active != -1) std::abort();
    if (got.UnitName.size() > 20 ||
        (!got.UnitName.empty() && (got.UnitName.front() == ' ' || got.UnitName.back() == ' ')))
        std::abort();
    if (!std::isfinite(got.Speed) || !std::isfinite(got.Health) || !std::isfinite(got.BulletRange)) std::abort();

    // The same values written one key per line load to the same unit.
    std::string clean;
    const std::vector<std::string> values = ExpectedValues(text);
    for (size_t k = 0; k < values.size(); k++) clean += std::string(Keys[k]) + std::string(19, ' ') + values[k] + "\n";
    UnitFileValue.clear();
    LoadUnitLines(UnitFileLines(clean + "END\n"));
    if (LoadedSlot != 1 || !Same(Units[1], got)) std::abort();
    return 0;
}
