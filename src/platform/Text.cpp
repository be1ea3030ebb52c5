// Text output: SDL_ttf with a system sans font found through fontconfig, sized
// in points at 96 pixels per inch, blended over the surface by glyph coverage.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Surface.h"

namespace {
enum class Ready { NotYet, Yes, Failed };
Ready TtfState = Ready::NotYet;
std::string FontFiles[2];       // regular, bold
bool SyntheticBold = false;     // no bold face: let the renderer embolden
std::map<std::pair<int, bool>, TTF_Font*> Fonts;

// One rendered line: the coverage of every pixel, 0..255.
struct Line {
    int W = 0, H = 0;
    std::vector<uint8_t> Coverage;
};
// The menus draw the same lines every pass; a few hundred cover a screen.
// The game's changing lines (score, clock) keep adding new ones, so the
// cache is also bounded in bytes: a long session must not grow by megabytes.
std::unordered_map<std::string, Line> Lines;
size_t LineBytes = 0;
constexpr size_t MaxLines = 1024;
constexpr size_t MaxLineBytes = 256 * 1024;

// The file of the best match for the family, and whether it is bold.
std::string MatchFont(const char* family, bool bold, bool& isBold) {
    std::string file;
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pat) return file;
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    if (FcPattern* m = FcFontMatch(nullptr, pat, &res)) {
        FcChar8* f = nullptr;
        int weight = FC_WEIGHT_REGULAR;
        if (FcPatternGetString(m, FC_FILE, 0, &f) == FcResultMatch && f) file = reinterpret_cast<const char*>(f);
        FcPatternGetInteger(m, FC_WEIGHT, 0, &weight);
        isBold = weight >= FC_WEIGHT_DEMIBOLD;
        FcPatternDestroy(m);
    }
    FcPatternDestroy(pat);
    return file;
}

// At exit, so leak checkers see a clean end.
void StopText() {
    for (auto& [key, font] : Fonts)
        if (font) TTF_CloseFont(font);
    Fonts.clear();
    Lines.clear();
    LineBytes = 0;
    if (TTF_WasInit()) TTF_Quit();
    FcFini();
}

bool StartText() {
    if (TtfState != Ready::NotYet) return TtfState == Ready::Yes;
    TtfState = Ready::Failed;
    if (!TTF_WasInit() && TTF_Init() != 0) return false;
    if (!FcInit()) return false;
    std::atexit(StopText);
    bool isBold = false;
    // The condensed cut comes closest to the widths the menus were laid out for.
    FontFiles[0] = MatchFont("DejaVu Sans Condensed", false, isBold);
    FontFiles[1] = MatchFont("DejaVu Sans Condensed", true, isBold);
    if (FontFiles[0].empty()) FontFiles[0] = FontFiles[1];
    if (FontFiles[1].empty() || !isBold) {
        FontFiles[1] = FontFiles[0];
        SyntheticBold = true;
    }
    if (FontFiles[0].empty()) return false;
    TtfState = Ready::Yes;
    return true;
}

TTF_Font* GetFont(int points, bool bold) {
    if (!StartText()) return nullptr;
    points = std::clamp(points, 1, 200);
    auto key = std::make_pair(points, bold);
    auto it = Fonts.find(key);
    if (it != Fonts.end()) return it->second;
    TTF_Font* f = TTF_OpenFontDPI(FontFiles[bold ? 1 : 0].c_str(), points, 96, 96);
    if (f && bold && SyntheticBold) TTF_SetFontStyle(f, TTF_STYLE_BOLD);
    Fonts[key] = f;  // a failure is remembered too
    return f;
}

// The game's texts are single-byte (Windows code page); typed names arrive as
// UTF-8. Anything that is not valid UTF-8 is taken as Latin-1.
bool ValidUtf8(std::string_view t) {
    for (size_t i = 0; i < t.size(); i++) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (more < 0 || i + more >= t.size()) return false;
        for (int k = 0; k < more; k++)
            if ((static_cast<unsigned char>(t[++i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

std::string ToUtf8(std::string_view text) {
    if (ValidUtf8(text)) return std::string(text);
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const Line* GetLine(const Surface& s, std::string_view text) {
    if (text.empty()) return nullptr;
    std::string key = std::to_string(s.FontSize) + (s.FontBold ? "b|" : "|");
    key.append(text);
    auto it = Lines.find(key);
    if (it != Lines.end()) return &it->second;
    TTF_Font* font = GetFont(s.FontSize, s.FontBold);
    if (!font) return nullptr;
    std::string utf8 = ToUtf8(text);
    // A NUL ends the text, as it does for a C string.
    utf8.resize(std::char_traits<char>::length(utf8.c_str()));
    if (utf8.empty()) return nullptr;
    SDL_Surface* r = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    Line line;
    if (r) {
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(r, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(r);
        if (argb) {
            line.W = argb->w;
            line.H = argb->h;
            line.Coverage.resize(static_cast<size_t>(line.W) * line.H);
            SDL_LockSurface(argb);
            for (int y = 0; y < line.H; y++) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
                for (int x = 0; x < line.W; x++) line.Coverage[static_cast<size_t>(y) * line.W + x] = row[x] >> 24;
            }
            SDL_UnlockSurface(argb);
            SDL_FreeSurface(argb);
        }
    }
    const size_t bytes = line.Coverage.size() + key.size() + sizeof(Line);
    if (Lines.size() >= MaxLines || LineBytes + bytes > MaxLineBytes) {
        Lines.clear();
        LineBytes = 0;
    }
    LineBytes += bytes;
    return &Lines.emplace(std::move(key), std::move(line)).first->second;
}
}  // namespace

void TextOut(Surface& s, int x, int y, std::string_view text) {
    if (s.Width <= 0 || s.Height <= 0) return;  // nothing to draw on: no need to render
    const Line* line = GetLine(s, text);
    if (!line || line->W == 0 || s.Pixels.size() < static_cast<size_t>(s.Width) * s.Height) return;
    const unsigned cr = s.TextColour & 0xFF, cg = (s.TextColour >> 8) & 0xFF, cb = (s.TextColour >> 16) & 0xFF;
    // Clipped in 64 bits, so any position is safe.
    const int64_t X = x, Y = y;
    const int64_t x0 = std::max<int64_t>(0, -X), x1 = std::min<int64_t>(line->W, s.Width - X);
    const int64_t y0 = std::max<int64_t>(0, -Y), y1 = std::min<int64_t>(line->H, s.Height - Y);
    for (int64_t r = y0; r < y1; r++) {
        const uint8_t* cov = &line->Coverage[static_cast<size_t>(r) * line->W];
        COLORREF* d = &s.Pixels[static_cast<size_t>(Y + r) * s.Width];
        for (int64_t c = x0; c < x1; c++) {
            const unsigned a = cov[c];
            if (a == 0) continue;
            const unsigned na = 255 - a;
            COLORREF& p = d[X + c];
            // round((colour * a + pixel * (255 - a)) / 255) per channel
            auto mix = [&](unsigned col, unsigned px) { return ((col * a + px * na + 128) * 257) >> 16; };
            p = mix(cr, p & 0xFF) | (mix(cg, (p >> 8) & 0xFF) << 8) | (mix(cb, (p >> 16) & 0xFF) << 16);
        }
    }
}

int TextWidth(const Surface& s, std::string_view text) {
    const Line* line = GetLine(s, text);
    return line ? line->W : 0;
}
