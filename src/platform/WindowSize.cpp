// The window's size: the scale it opens at, and the scale the player chose by
// resizing, remembered in "\OtherFiles\Window.txt" (key-file format).
#include <algorithm>
#include <cctype>

#include "platform/Files.h"
#include "platform/Window.h"
#include "platform/WindowParts.h"

using namespace Wnd;

namespace {
constexpr int MaxScale = 16;

std::string ScaleFile() { return GamePath("\\OtherFiles\\Window.txt"); }

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}
}  // namespace

int StartScale(int usableW, int usableH, int pictureW, int pictureH, int remembered) {
    if (pictureW <= 0 || pictureH <= 0) return 1;
    auto fits = [&](int n, double share) { return pictureW * n <= usableW && pictureH * n <= usableH * share; };
    if (remembered >= 1 && remembered <= MaxScale && fits(remembered, 1.0)) return remembered;
    int n = 1;
    while (n < MaxScale && fits(n + 1, 0.85)) n++;
    return n;
}

int RememberedWindowScale() {
    std::vector<std::string> lines;
    if (!ReadTextLines(ScaleFile(), lines)) return 0;
    for (const std::string& line : lines) {
        if (Trim(line) == "END") break;
        if (Trim(line.substr(0, std::min<size_t>(20, line.size()))) != "Scale") continue;
        const std::string v = line.size() > 21 ? Trim(line.substr(21)) : "";
        if (v.empty() || v.size() > 2 ||
            !std::all_of(v.begin(), v.end(), [](unsigned char c) { return std::isdigit(c); }))
            return 0;
        const int n = std::stoi(v);
        return n >= 1 && n <= MaxScale ? n : 0;
    }
    return 0;
}

void RememberWindowScale(int n) {
    std::string key = "Scale";
    key.resize(20, ' ');
    WriteFileAtomic(ScaleFile(), key + " " + std::to_string(std::clamp(n, 1, MaxScale)) + "\r\nEND\r\n");
}

// Resize reports that follow a switch of the display are not the player's.
Uint32 Wnd::IgnoreResizesUntil = 0;

void Wnd::OwnResize() { IgnoreResizesUntil = SDL_GetTicks() + 500; }

void Wnd::PlayerResized() {
    ApplyConfinement();
    if (!Win || FullScreen || !SDL_TICKS_PASSED(SDL_GetTicks(), IgnoreResizesUntil)) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(Win, &w, &h);
    const int n = std::clamp(std::min(w / PictureW, h / PictureH), 1, MaxScale);
    if (n == WindowedScale) return;
    WindowedScale = n;
    RememberWindowScale(n);
}
