#include "Draw.h"

#include <algorithm>
#include <cstdint>

Canvas MakeCanvas(int w, int h, Rgb fill, float alpha) {
    Canvas cv;
    cv.W = w;
    cv.H = h;
    cv.C.assign(static_cast<size_t>(w) * h, fill);
    cv.A.assign(static_cast<size_t>(w) * h, alpha);
    return cv;
}

static inline float Coverage(float d) { return std::clamp(0.5f - d, 0.0f, 1.0f); }

static void Over(Canvas& cv, size_t i, Rgb c, float a) {
    if (a <= 0) return;
    const float da = cv.A[i];
    const float oa = a + da * (1 - a);
    const Rgb d = cv.C[i];
    cv.C[i] = {(c.r * a + d.r * da * (1 - a)) / oa, (c.g * a + d.g * da * (1 - a)) / oa,
               (c.b * a + d.b * da * (1 - a)) / oa};
    cv.A[i] = oa;
}

void Fill(Canvas& cv, const Sdf& shape, Rgb colour, float opacity) {
    Fill(cv, shape, [colour](float, float) { return colour; }, opacity);
}

void Fill(Canvas& cv, const Sdf& shape, const Paint& paint, float opacity) {
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float a = Coverage(shape(px, py)) * opacity;
            if (a > 0) Over(cv, static_cast<size_t>(y) * cv.W + x, paint(px, py), a);
        }
}

void FillBehind(Canvas& cv, const Sdf& shape, Rgb colour, float opacity) {
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const float a = Coverage(shape(x + 0.5f, y + 0.5f)) * opacity;
            if (a <= 0) continue;
            const size_t i = static_cast<size_t>(y) * cv.W + x;
            const float fa = cv.A[i];
            const float oa = fa + a * (1 - fa);
            const Rgb f = cv.C[i];
            cv.C[i] = {(f.r * fa + colour.r * a * (1 - fa)) / oa, (f.g * fa + colour.g * a * (1 - fa)) / oa,
                       (f.b * fa + colour.b * a * (1 - fa)) / oa};
            cv.A[i] = oa;
        }
}

void Shade(Canvas& cv, const Sdf& shape, float factor) {
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const float a = Coverage(shape(x + 0.5f, y + 0.5f));
            if (a <= 0) continue;
            const size_t i = static_cast<size_t>(y) * cv.W + x;
            cv.C[i] = Scale(cv.C[i], 1 + (factor - 1) * a);
        }
}

// ------------------------------------------------------------------ shapes

Sdf Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf Ellipse(float cx, float cy, float rx, float ry, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return [=](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        const float lx = dx * c + dy * s, ly = -dx * s + dy * c;
        // Distance estimate: scaled radius times the gradient length.
        const float k = std::hypot(lx / rx, ly / ry);
        if (k < 1e-6f) return -std::min(rx, ry);
        const float g = std::hypot(lx / (rx * rx), ly / (ry * ry));
        return k * (k - 1) / std::max(g, 1e-6f);
    };
}

static float SegDist(float x, float y, float ax, float ay, float bx, float by) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0;
    return std::hypot(px - dx * t, py - dy * t);
}

Sdf Capsule(float ax, float ay, float bx, float by, float r) {
    return [=](float x, float y) { return SegDist(x, y, ax, ay, bx, by) - r; };
}

Sdf Box(float cx, float cy, float hw, float hh, float angle, float round) {
    const float c = std::cos(angle), s = std::sin(angle);
    return [=](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        const float lx = std::fabs(dx * c + dy * s), ly = std::fabs(-dx * s + dy * c);
        const float qx = lx - (hw - round), qy = ly - (hh - round);
        const float out = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return out + std::min(std::max(qx, qy), 0.0f) - round;
    };
}

Sdf Polygon(std::vector<float> xy) {
    return [xy = std::move(xy)](float x, float y) {
        const size_t n = xy.size() / 2;
        float d = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            d = std::min(d, SegDist(x, y, xj, yj, xi, yi));
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside ? -d : d;
    };
}

Sdf Union(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf Subtract(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf Grow(Sdf a, float by) {
    return [=](float x, float y) { return a(x, y) - by; };
}

Sdf Stroke(std::vector<float> xy, float r) {
    return [xy = std::move(xy), r](float x, float y) {
        float d = 1e9f;
        for (size_t i = 2; i + 1 < xy.size(); i += 2) d = std::min(d, SegDist(x, y, xy[i - 2], xy[i - 1], xy[i], xy[i + 1]));
        return d - r;
    };
}

Sdf Rotated(Sdf local, float cx, float cy, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return [=](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        return local(dx * c + dy * s, -dx * s + dy * c);
    };
}

// ------------------------------------------------------------------- noise

float Hash2(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float ValueNoise(float x, float y, int seed) {
    const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    float fx = x - xi, fy = y - yi;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const float a = Hash2(xi, yi, seed), b = Hash2(xi + 1, yi, seed);
    const float c = Hash2(xi, yi + 1, seed), d = Hash2(xi + 1, yi + 1, seed);
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}

float Fbm(float x, float y, int seed, int octaves, float lacunarity, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += ValueNoise(x, y, seed + o * 101) * amp;
        norm += amp;
        amp *= gain;
        x *= lacunarity;
        y *= lacunarity;
    }
    return sum / norm;
}

// ----------------------------------------------------------------- output

COLORREF ToColour(Rgb c) {
    auto ch = [](float v) { return static_cast<int>(std::lround(std::clamp(v, 0.0f, 255.0f))); };
    return RGB(ch(c.r), ch(c.g), ch(c.b));
}

void PutSprite(const Canvas& cv, Surface& dst, int ix, int iy, int mx, int my) {
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const size_t i = static_cast<size_t>(y) * cv.W + x;
            if (cv.A[i] >= 0.5f) {
                Rgb c = cv.C[i];
                // Keep the sprite well away from black so the mask survives decoding.
                const float m = std::max({c.r, c.g, c.b});
                if (m < 48) {
                    const float lift = 48 - m;
                    c = {c.r + lift, c.g + lift, c.b + lift};
                }
                SetPixel(dst, ix + x, iy + y, ToColour(c));
                SetPixel(dst, mx + x, my + y, RGB(0, 0, 0));
            } else {
                SetPixel(dst, ix + x, iy + y, RGB(0, 0, 0));
                SetPixel(dst, mx + x, my + y, RGB(255, 255, 255));
            }
        }
}

void PutOpaque(const Canvas& cv, Surface& dst, int x0, int y0, Rgb background) {
    for (int y = 0; y < cv.H; y++)
        for (int x = 0; x < cv.W; x++) {
            const size_t i = static_cast<size_t>(y) * cv.W + x;
            SetPixel(dst, x0 + x, y0 + y, ToColour(Mix(background, cv.C[i], cv.A[i])));
        }
}

// -------------------------------------------------------------- pixel font

namespace {
struct Glyph {
    char Ch;
    const char* Rows;  // 7 rows of 5 columns, '#' set
};
const Glyph Font[] = {
    {'A', ".###.#...##...#######...##...##...#"}, {'B', "####.#...##...#####.#...##...#####."},
    {'C', ".###.#...##....#....#....#...#.###."}, {'D', "####.#...##...##...##...##...#####."},
    {'E', "######....#....####.#....#....#####"}, {'F', "######....#....####.#....#....#...."},
    {'G', ".###.#...##....#.####...##...#.####"}, {'H', "#...##...##...#######...##...##...#"},
    {'I', ".###...#....#....#....#....#...###."}, {'J', "..###...#....#....#....#.#..#..##.."},
    {'K', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'L', "#....#....#....#....#....#....#####"},
    {'M', "#...###.###.#.##.#.##...##...##...#"}, {'N', "#...###..##.#.##..###...##...##...#"},
    {'O', ".###.#...##...##...##...##...#.###."}, {'P', "####.#...##...#####.#....#....#...."},
    {'Q', ".###.#...##...##...##.#.##..#..##.#"}, {'R', "####.#...##...#####.#.#..#..#.#...#"},
    {'S', ".#####....#.....###.....#....#####."}, {'T', "#####..#....#....#....#....#....#.."},
    {'U', "#...##...##...##...##...##...#.###."}, {'V', "#...##...##...##...##...#.#.#...#.."},
    {'W', "#...##...##...##.#.##.#.##.#.#.#.#."}, {'X', "#...##...#.#.#...#...#.#.#...##...#"},
    {'Y', "#...##...#.#.#...#....#....#....#.."}, {'Z', "#####....#...#...#...#...#....#####"},
    {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
    {'2', ".###.#...#....#...#...#...#...#####"}, {'3', "#####...#...#.....#.....##...#.###."},
    {'4', "...#...##..#.#.#..#.#####...#....#."}, {'5', "######....####.....#....##...#.###."},
    {'6', "..##..#...#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
    {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#...#..##.."},
    {'.', "..........................##...##.."}, {',', "......................##...#...#..."},
    {':', ".....##...##........##...##........"}, {'-', "...............###................."},
    {'_', "..............................#####"}, {'/', ".........#...#...#...#...#........."},
    {'(', "...#...#...#....#....#.....#.....#."}, {')', ".#.....#.....#....#....#...#...#..."},
    {'[', ".###..#....#....#....#....#....###."}, {']', ".###....#....#....#....#....#..###."},
    {'=', "..........#####.....#####.........."}, {'+', ".......#....#..#####..#....#......."},
    {'%', "##...##..#...#...#...#...#..##...##"}, {'!', "..#....#....#....#....#.........#.."},
    {'\'', "..#....#...#......................."}, {'?', ".###.#...#....#...#...#.........#.."},
    {'*', ".......#..#.#.#.###.#.#.#..#......."}, {'>', ".#.....#.....#.....#...#...#...#..."},
    {'<', "...#...#...#...#.....#.....#.....#."},
};

const Glyph* FindGlyph(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : Font)
        if (g.Ch == c) return &g;
    return nullptr;
}

template <typename Set>
void DrawPixelText(float x, float y, std::string_view text, int scale, Set set) {
    float cx = x;
    for (char ch : text) {
        if (const Glyph* g = FindGlyph(ch)) {
            for (int r = 0; r < 7; r++)
                for (int c = 0; c < 5; c++)
                    if (g->Rows[r * 5 + c] == '#')
                        for (int sy = 0; sy < scale; sy++)
                            for (int sx = 0; sx < scale; sx++)
                                set(static_cast<int>(cx) + c * scale + sx, static_cast<int>(y) + r * scale + sy);
        }
        cx += 6 * scale;
    }
}
}  // namespace

int PixelTextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void PixelText(Canvas& cv, float x, float y, std::string_view text, Rgb colour, int scale) {
    DrawPixelText(x, y, text, scale, [&](int px, int py) {
        if (px < 0 || py < 0 || px >= cv.W || py >= cv.H) return;
        const size_t i = static_cast<size_t>(py) * cv.W + px;
        cv.C[i] = colour;
        cv.A[i] = 1;
    });
}

void PixelText(Surface& s, int x, int y, std::string_view text, COLORREF colour, int scale) {
    DrawPixelText(static_cast<float>(x), static_cast<float>(y), text, scale,
                  [&](int px, int py) { SetPixel(s, px, py, colour); });
}

// ----------------------------------------------------------- block letters

namespace {
// Letter strokes in a box of width 0.8 (I: 0.3) and height 1.
std::vector<std::vector<float>> LetterStrokes(char c) {
    auto arc = [](std::vector<float>& p, float cx, float cy, float rx, float ry, float a0, float a1) {
        for (int i = 0; i <= 12; i++) {
            const float a = a0 + (a1 - a0) * i / 12.0f;
            p.push_back(cx + rx * std::cos(a));
            p.push_back(cy + ry * std::sin(a));
        }
    };
    const float pi = 3.14159265f;
    std::vector<std::vector<float>> s;
    switch (c) {
        case 'D': {
            std::vector<float> p = {0, 1, 0, 0, 0.3f, 0};
            arc(p, 0.3f, 0.5f, 0.5f, 0.5f, -pi / 2, pi / 2);
            p.insert(p.end(), {0.3f, 1, 0, 1});
            s.push_back(p);
            break;
        }
        case 'O': {
            std::vector<float> p;
            for (int i = 0; i <= 32; i++) {
                const float a = 2 * pi * i / 32;
                p.push_back(0.4f + 0.4f * std::cos(a));
                p.push_back(0.5f + 0.5f * std::sin(a));
            }
            s.push_back(p);
            break;
        }
        case 'R': {
            std::vector<float> p = {0, 1, 0, 0, 0.45f, 0};
            arc(p, 0.45f, 0.27f, 0.32f, 0.27f, -pi / 2, pi / 2);
            p.insert(p.end(), {0.45f, 0.54f, 0, 0.54f});
            s.push_back(p);
            s.push_back({0.35f, 0.54f, 0.8f, 1});
            break;
        }
        case 'V': s.push_back({0, 0, 0.4f, 1, 0.8f, 0}); break;
        case 'I':
            s.push_back({0, 0, 0.3f, 0});
            s.push_back({0.15f, 0, 0.15f, 1});
            s.push_back({0, 1, 0.3f, 1});
            break;
        case 'K':
            s.push_back({0, 0, 0, 1});
            s.push_back({0.8f, 0, 0, 0.6f});
            s.push_back({0.28f, 0.4f, 0.8f, 1});
            break;
        default: break;
    }
    return s;
}
float LetterWidth(char c) { return c == 'I' ? 0.3f : 0.8f; }
const float Gap = 0.34f;
}  // namespace

Sdf BlockLetters(std::string_view word, float x, float y, float w, float h, float stroke) {
    // Fit: total width in letter units with gaps of 0.25, strokes inside the box.
    float units = 0;
    for (size_t i = 0; i < word.size(); i++) units += LetterWidth(word[i]) + (i ? Gap : 0);
    const float innerH = h - 2 * stroke;
    const float sx = (w - 2 * stroke) / units, sy = innerH;
    std::vector<std::vector<float>> all;
    float ux = 0;
    for (char c : word) {
        for (auto& p : LetterStrokes(c)) {
            std::vector<float> q;
            for (size_t i = 0; i + 1 < p.size(); i += 2) {
                q.push_back(x + stroke + (ux + p[i]) * sx);
                q.push_back(y + stroke + p[i + 1] * sy);
            }
            all.push_back(q);
        }
        ux += LetterWidth(c) + Gap;
    }
    return [all, stroke](float px, float py) {
        float d = 1e9f;
        for (const auto& q : all)
            for (size_t i = 2; i + 1 < q.size(); i += 2) d = std::min(d, SegDist(px, py, q[i - 2], q[i - 1], q[i], q[i + 1]));
        return d - stroke;
    };
}
