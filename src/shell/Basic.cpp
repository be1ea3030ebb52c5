#include "shell/Basic.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Clock.h"

double Int(double v) { return std::floor(v); }

Long Whole(double v) {
    if (!std::isfinite(v)) return 0;
    double r = std::nearbyint(v);  // default rounding mode: halves to even
    if (r > 2147483647.0) return 2147483647;
    if (r < -2147483648.0) return -2147483647 - 1;
    return static_cast<Long>(r);
}

Long IDiv(double a, double b) {
    Long x = Whole(a), y = Whole(b);
    if (y == 0) return 0;
    return x / y;  // C++ truncates toward zero
}

std::optional<double> ToNumber(std::string_view text) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) i++;
    while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\r' || text[n - 1] == '\n')) n--;
    if (i == n) return std::nullopt;
    std::string_view s = text.substr(i, n - i);
    if (s[0] == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    double v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

static std::string FormatSignificant(double v, int digits) {
    if (v == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    std::string s = buf;
    // The old dialect writes 0.5 as ".5" and -0.5 as "-.5".
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    // Exponent form as "1E+20" (printf already writes at least two exponent digits).
    auto e = s.find('e');
    if (e != std::string::npos) s[e] = 'E';
    return s;
}

std::string StrSingle(float v) { return FormatSignificant(v, 7); }
std::string StrDouble(double v) { return FormatSignificant(v, 15); }
std::string StrInt(long long v) { return std::to_string(v); }

double TextValue(double v) { return ToNumber(StrDouble(v)).value_or(v); }

std::string PrintNum(double v) {
    std::string s = (v == std::floor(v) && std::fabs(v) < 1e15) ? StrInt(static_cast<long long>(v)) : StrDouble(v);
    if (v >= 0) return " " + s + " ";
    return s + " ";
}

// The generator of the old runtime: a 24-bit linear congruential sequence.
static uint32_t GeneratorState = 0x50000;
static uint32_t EffectState = 0x50000;

static Single NextRnd(uint32_t& state) {
    state = (state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<Single>(state) / 16777216.0f;
}

Single Rnd() { return NextRnd(GeneratorState); }
Single EffectRnd() { return NextRnd(EffectState); }
uint32_t RndState() { return GeneratorState; }
void RandomizeEffects(uint32_t seed) { EffectState = seed & 0xFFFFFFu; }

void Randomize(uint32_t seed) { GeneratorState = seed & 0xFFFFFFu; }

void Randomize() { RandomizeFrom(GetTickCount()); }

void RandomizeFrom(uint64_t tick) {
    // Mix the tick count in, keeping part of the current state, so two
    // re-seeds in the same millisecond still differ.
    uint32_t t = static_cast<uint32_t>(tick);  // the low 32 bits are enough
    uint32_t mixed = ((t & 0xFFFF) << 8) ^ (t >> 8);
    GeneratorState = (GeneratorState & 0xFF) ^ (mixed & 0xFFFFFFu);
}

std::string Trim(std::string_view s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return "";
    return std::string(s.substr(a, s.find_last_not_of(' ') + 1 - a));
}

std::string Mid(std::string_view s, int start1, int length) {
    start1 = std::max(start1, 1);
    size_t start = static_cast<size_t>(start1 - 1);
    if (start >= s.size()) return "";
    if (length < 0) return std::string(s.substr(start));
    return std::string(s.substr(start, static_cast<size_t>(length)));
}

std::string UCase(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

std::string LCase(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}
