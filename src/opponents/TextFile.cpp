#include "opponents/TextFile.h"

#include <cmath>
#include <limits>
#include <set>
#include <type_traits>
#include <vector>

#include "platform/Files.h"
#include "platform/Window.h"
#include "shell/GameState.h"

namespace {
// Files already reported missing: one message box per file and run.
std::set<std::string> Reported;

bool FindKey(const std::string& path, const std::string& key) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines)) return false;
    const std::string want = Trim(key);
    for (size_t n = 0; n < lines.size() && n <= 5000; n++) {
        const std::string& line = lines[n];
        if (line == "END") break;
        if (Trim(Mid(line, 1, 20)) == want) UnitFileValue = Trim(Mid(line, 22, 20));
    }
    return true;
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
    return FindKey(UnitFilePath(folder, name), key);
}

bool LoadUnitFile(const std::string& name) {
    for (LoadedSlot = 0; LoadedSlot <= MaxUnit; LoadedSlot++)
        if (Units[LoadedSlot].Active == 0) break;
    if (LoadedSlot > MaxUnit) return true;

    const std::string path = UnitFilePath("otherfiles", name);
    std::vector<std::string> probe;
    if (!ReadTextLines(path, probe)) {
        if (Reported.insert(path).second)
            ShowMessageBox("Dorvik Error!", "Cannot read the unit file " + path + ".", MB_OK_EXCLAMATION);
        return false;
    }
    Unit& u = Units[LoadedSlot];
    ReadUnitFileKey("otherfiles", name, "NA");
    u.UnitName = UnitFileValue;
    ReadUnitFileKey("otherfiles", name, "OM");
    StoreNumber(u.Ammo);
    ReadUnitFileKey("otherfiles", name, "DE");
    StoreNumber(u.Speed);
    ReadUnitFileKey("otherfiles", name, "HT");
    StoreNumber(u.Health);
    ReadUnitFileKey("otherfiles", name, "EL");
    StoreNumber(u.Spread);
    ReadUnitFileKey("otherfiles", name, "EE");
    StoreNumber(u.Melee);
    ReadUnitFileKey("otherfiles", name, "ED");
    StoreNumber(u.BulletSpeed);
    ReadUnitFileKey("otherfiles", name, "GN");
    StoreNumber(u.BulletRange);
    ReadUnitFileKey("otherfiles", name, "EM");
    StoreNumber(u.Recharge);
    u.Active = -1;
    return true;
}
