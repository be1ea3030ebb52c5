#include "opponents/TextFile.h"

#include <cmath>
#include <limits>
#include <set>
#include <type_traits>
#include <vector>

#include "opponents/KeyFile.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "shell/GameState.h"

namespace {
// Files already reported missing: one message box per file and run.
std::set<std::string> Reported;

const std::vector<std::pair<std::string, std::string>>* UnitFileSource = nullptr;

// Lines 0 to 5000 at most, and none from "END" on.
constexpr size_t UnitFileLineLimit = 5001;

// The last occurrence of the key, through the reader every key file shares;
// a missing key leaves UnitFileValue as it was.
void FindKey(const std::vector<std::string>& lines, const std::string& key) {
    KeyFileValue(lines, key, 20, UnitFileValue);  // columns 22..41
}

std::string UnitFilePath(const std::string& folder, const std::string& name) {
    return ResolveCase(AppPath() + "/" + folder + "/" + name + ".txt");
}

template <typename T>
void StoreNumber(T& field) {
    // A value that is not a number, or too large for its field, leaves the
    // field as it was.
    auto v = ToNumber(UnitFileValue);
    if (!v) return;
    if constexpr (std::is_same_v<T, Double>) {
        field = *v;
    } else if constexpr (std::is_same_v<T, Single>) {
        if (std::fabs(*v) <= std::numeric_limits<Single>::max()) field = static_cast<Single>(*v);
    } else {
        if (*v >= std::numeric_limits<T>::min() - 0.5 && *v <= std::numeric_limits<T>::max() + 0.5) {
            Long w = Whole(*v);
            if (w >= std::numeric_limits<T>::min() && w <= std::numeric_limits<T>::max()) field = static_cast<T>(w);
        }
    }
}
}  // namespace

bool ReadUnitFileKey(const std::string& folder, const std::string& name, const std::string& key) {
    std::vector<std::string> lines;
    if (!ReadTextLinesUntil(UnitFilePath(folder, name), "END", UnitFileLineLimit, lines)) return false;
    FindKey(lines, key);
    return true;
}

std::vector<std::string> UnitFileLines(std::string_view data) { return TextLinesUntil(data, "END", UnitFileLineLimit); }

namespace {
// The first free unit slot into LoadedSlot; past the last slot when all are taken.
bool FindFreeSlot() {
    for (LoadedSlot = 0; LoadedSlot <= MaxUnit; LoadedSlot++)
        if (Units[LoadedSlot].Active == 0) return true;
    return false;
}
}  // namespace

void LoadUnitLines(const std::vector<std::string>& lines) {
    if (!FindFreeSlot()) return;
    Unit& u = Units[LoadedSlot];
    FindKey(lines, "NA");
    u.UnitName = UnitFileValue;
    FindKey(lines, "OM");
    StoreNumber(u.Ammo);
    FindKey(lines, "DE");
    StoreNumber(u.Speed);
    FindKey(lines, "HT");
    StoreNumber(u.Health);
    FindKey(lines, "EL");
    StoreNumber(u.Spread);
    FindKey(lines, "EE");
    StoreNumber(u.Melee);
    FindKey(lines, "ED");
    StoreNumber(u.BulletSpeed);
    FindKey(lines, "GN");
    StoreNumber(u.BulletRange);
    FindKey(lines, "EM");
    StoreNumber(u.Recharge);
    u.Active = -1;
}

void SetUnitFileSource(const std::vector<std::pair<std::string, std::string>>* source) { UnitFileSource = source; }

bool LoadUnitFile(const std::string& name) {
    if (!FindFreeSlot()) return true;

    if (UnitFileSource) {
        for (const auto& [file, text] : *UnitFileSource) {
            if (file != name) continue;
            LoadUnitLines(UnitFileLines(text));
            return true;
        }
        return false;
    }
    // One read per load, ending at "END".
    const std::string path = UnitFilePath("otherfiles", name);
    std::vector<std::string> lines;
    if (!ReadTextLinesUntil(path, "END", UnitFileLineLimit, lines)) {
        if (Reported.insert(path).second)
            ShowMessageBox("Dorvik Error!", "Cannot read the unit file " + path + ".", MB_OK_EXCLAMATION);
        return false;
    }
    LoadUnitLines(lines);
    return true;
}
