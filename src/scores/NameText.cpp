#include "scores/NameText.h"

#include <cstdint>

namespace {
// Code points of the Windows-1252 bytes 0x80..0x9F (0 where the byte is unused).
const uint16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// ANSI byte for a code point; 0 for controls (not typed into a name box).
unsigned char AnsiFor(uint32_t cp) {
    if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) return 0;
    if (cp < 0x100) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; i++)
        if (Cp1252High[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

uint32_t CodePointOf(unsigned char b) { return b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : b; }

void PutUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsLower(unsigned char b) { return (b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7); }
bool IsUpper(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7); }
}  // namespace

void AppendUtf8AsAnsi(std::string& text, const char* utf8, size_t maxLength) {
    if (!utf8) return;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        uint32_t cp;
        int more;
        if (*p < 0x80) cp = *p, more = 0;
        else if ((*p & 0xE0) == 0xC0) cp = *p & 0x1F, more = 1;
        else if ((*p & 0xF0) == 0xE0) cp = *p & 0x0F, more = 2;
        else if ((*p & 0xF8) == 0xF0) cp = *p & 0x07, more = 3;
        else {  // a stray continuation byte: skip it
            p++;
            continue;
        }
        p++;
        bool ok = true;
        for (int i = 0; i < more; i++) {
            if ((*p & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
            p++;
        }
        if (!ok) continue;
        unsigned char b = AnsiFor(cp);
        if (b && text.size() < maxLength) text += static_cast<char>(b);
    }
}

std::string AnsiToUtf8(const std::string& ansi) {
    std::string out;
    for (unsigned char b : ansi) {
        uint32_t cp = CodePointOf(b);
        PutUtf8(out, cp ? cp : '?');
    }
    return out;
}

std::string AnsiUCase(const std::string& ansi) {
    std::string r = ansi;
    for (auto& c : r) {
        auto b = static_cast<unsigned char>(c);
        if (IsLower(b)) b = static_cast<unsigned char>(b - 0x20);
        else if (b == 0x9A || b == 0x9C || b == 0x9E) b = static_cast<unsigned char>(b - 0x10);  // š œ ž
        else if (b == 0xFF) b = 0x9F;                                                          // ÿ
        c = static_cast<char>(b);
    }
    return r;
}

std::string AnsiLCase(const std::string& ansi) {
    std::string r = ansi;
    for (auto& c : r) {
        auto b = static_cast<unsigned char>(c);
        if (IsUpper(b)) b = static_cast<unsigned char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E) b = static_cast<unsigned char>(b + 0x10);
        else if (b == 0x9F) b = 0xFF;
        c = static_cast<char>(b);
    }
    return r;
}
