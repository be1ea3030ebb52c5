#include "platform/GameFolders.h"

#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/Files.h"

namespace {
std::optional<GameFolders> Folders;

// Files the game writes, as they are spelt when created.
constexpr std::string_view PlayerFiles[] = {
    "OtherFiles/Options.txt", "OtherFiles/NewVer.txt", "OtherFiles/Default.htm",
    "OtherFiles/Server.txt",  "AtopDv118.dvk",         "Vedov.dvk",
    "Pictures/Map01.bmp",     "Pictures/Map02.bmp",    "Pictures/Map03.bmp",
    "Pictures/Map04.bmp",
};
// Screenshots: "Dorvik Pic" + number + ".jpg" (and the bitmap it is made from).
constexpr std::string_view ScreenshotPrefix = "Dorvik Pic";

bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string ExeFolder() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    buf[n] = 0;
    std::string p = buf;
    auto slash = p.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (home.empty())
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    return home;
}

// The literal game path as a relative path with slashes.
std::string Relative(std::string_view literal) {
    std::string rel(literal);
    for (auto& c : rel)
        if (c == '\\') c = '/';
    while (!rel.empty() && rel[0] == '/') rel.erase(0, 1);
    return rel;
}
}  // namespace

GameFolders FindGameFolders(const std::string& exeFolder, const std::string& xdgDataHome, const std::string& home) {
    GameFolders f{exeFolder, exeFolder};
    // Shipped files beside the executable: a portable folder, whatever its name.
    if (IsDir(ResolveCase(exeFolder + "/Pictures"))) return f;
    const auto slash = exeFolder.find_last_of('/');
    const std::string leaf = slash == std::string::npos ? exeFolder : exeFolder.substr(slash + 1);
    const std::string prefix = slash == std::string::npos ? "." : exeFolder.substr(0, slash);
    const std::string share = prefix + "/share/dorvik";
    if (leaf != "bin" || !IsDir(share)) return f;
    f.Shipped = share;
    // A relative XDG_DATA_HOME is invalid and ignored.
    const std::string base = !xdgDataHome.empty() && xdgDataHome[0] == '/' ? xdgDataHome : home + "/.local/share";
    f.Data = base + "/dorvik";
    return f;
}

const GameFolders& CurrentGameFolders() {
    if (!Folders) Folders = FindGameFolders(ExeFolder(), Env("XDG_DATA_HOME"), HomeFolder());
    return *Folders;
}

void SetGameFolders(const GameFolders& folders) { Folders = folders; }

const std::string& PlayerDataPath() { return CurrentGameFolders().Data; }

bool IsPlayerFile(std::string_view relative, std::string& canonical) {
    for (std::string_view name : PlayerFiles) {
        if (SameText(relative, name)) {
            canonical = name;
            return true;
        }
    }
    if (relative.size() > ScreenshotPrefix.size() && relative.find('/') == std::string_view::npos &&
        SameText(relative.substr(0, ScreenshotPrefix.size()), ScreenshotPrefix)) {
        canonical = relative;
        return true;
    }
    return false;
}

const std::string& AppPath() { return CurrentGameFolders().Shipped; }

void SetAppPath(const std::string& folder) { Folders = GameFolders{folder, folder}; }

std::string GamePath(std::string_view literal) {
    const GameFolders& f = CurrentGameFolders();
    const std::string rel = Relative(literal);
    std::string canonical;
    if (f.Data == f.Shipped || !IsPlayerFile(rel, canonical)) return ResolveCase(f.Shipped + "/" + rel);

    const std::string path = ResolveCase(f.Data + "/" + canonical);
    if (FileExistsOnDisk(path)) return path;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    // First use: the player's copy starts as the shipped one, where there is one.
    const std::string shipped = ResolveCase(f.Shipped + "/" + rel);
    if (FileExistsOnDisk(shipped)) CopyFileOver(shipped, path);
    return path;
}
