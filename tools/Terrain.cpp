// The ground "photographs" (Map01..04.jpg, which the game softens into its
// terrain bitmaps at first start) and the ready-made fifth terrain (Map05.bmp).
#include <algorithm>
#include <cmath>

#include "Art.h"

namespace {
const int N = 300;

struct Field2 {
    std::vector<float> V = std::vector<float>(static_cast<size_t>(N) * N);
    float& at(int x, int y) { return V[static_cast<size_t>(y) * N + x]; }
    float get(int x, int y) const {
        x = std::clamp(x, 0, N - 1);
        y = std::clamp(y, 0, N - 1);
        return V[static_cast<size_t>(y) * N + x];
    }
};

Field2 Height(float freq, int seed, int octaves) {
    Field2 h;
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) h.at(x, y) = Fbm(x * freq, y * freq, seed, octaves);
    return h;
}

// Light from the top left on a height field.
float Light(const Field2& h, int x, int y, float strength) {
    return 1 + strength * (h.get(x - 1, y - 1) - h.get(x + 1, y + 1));
}

// Distance to the nearest cell edge of a jittered grid, and the cell's id.
void Voronoi(float x, float y, float cell, int seed, float& edge, int& id) {
    const int cx = static_cast<int>(std::floor(x / cell)), cy = static_cast<int>(std::floor(y / cell));
    float d1 = 1e9f, d2 = 1e9f;
    id = 0;
    for (int j = -1; j <= 1; j++)
        for (int i = -1; i <= 1; i++) {
            const float px = (cx + i + 0.15f + 0.7f * Hash2(cx + i, cy + j, seed)) * cell;
            const float py = (cy + j + 0.15f + 0.7f * Hash2(cx + i, cy + j, seed + 1)) * cell;
            const float d = std::hypot(x - px, y - py);
            if (d < d1) {
                d2 = d1;
                d1 = d;
                id = (cx + i) * 7919 + (cy + j);
            } else if (d < d2) {
                d2 = d;
            }
        }
    edge = (d2 - d1) * 0.5f;
}

Surface SnowField() {
    Surface s = Blank(N, N);
    Field2 h = Height(0.012f, 200, 5);
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            const float l = Light(h, x, y, 9);
            const float fine = Fbm(x * 0.2f, y * 0.2f, 210, 2);
            Rgb c = Mix(Hex(0xC8D4E6), Hex(0xF6F9FF), std::clamp(h.at(x, y) * 1.4f - 0.2f, 0.0f, 1.0f));
            c = Scale(c, std::clamp(l, 0.8f, 1.08f) * (0.97f + 0.05f * fine));
            if (Hash2(x, y, 211) > 0.997f) c = Hex(0xFFFFFF);                      // glitter
            const float grass = Fbm(x * 0.05f, y * 0.05f, 212, 3);
            if (grass > 0.68f && Hash2(x, y, 213) > 0.9f) c = Mix(c, Hex(0x6A6A3A), 0.7f);  // stalks poking through
            SetPixel(s, x, y, ToColour(c));
        }
    // A line of old tracks crossing the field.
    for (int t = 0; t < 40; t++) {
        const float tx = 20 + t * 7.0f, ty = 230 - t * 4.2f + 6 * std::sin(t * 0.5f) + (t % 2 ? 3 : -3);
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++)
                if (std::abs(dx) + std::abs(dy) < 2) {
                    const int32_t c = GetPixel(s, int(tx) + dx, int(ty) + dy);
                    if (c >= 0)
                        SetPixel(s, int(tx) + dx, int(ty) + dy,
                                 RGB((c & 0xFF) * 86 / 100, ((c >> 8) & 0xFF) * 86 / 100, ((c >> 16) & 0xFF) * 88 / 100));
                }
    }
    return s;
}

Surface FrozenMud() {
    Surface s = Blank(N, N);
    Field2 h = Height(0.02f, 300, 5);
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            const float l = Light(h, x, y, 10);
            const float fine = Fbm(x * 0.3f, y * 0.3f, 310, 2);
            Rgb c = Mix(Hex(0x4E3C2C), Hex(0x86705A), h.at(x, y));
            // Tyre ruts along a gentle curve.
            const float cy = 150 + 40 * std::sin(x * 0.012f);
            for (float off : {-14.0f, 14.0f}) {
                const float d = std::fabs(y - (cy + off));
                if (d < 4) c = Scale(Mix(c, Hex(0x3A2C20), 0.6f), 0.85f + 0.04f * (static_cast<int>(x) % 4));
            }
            // Frost in the low places, ice in the puddles.
            const float frost = Fbm(x * 0.04f, y * 0.04f, 320, 4);
            if (frost > 0.62f) c = Mix(c, Hex(0xE4ECF4), std::clamp((frost - 0.62f) * 5, 0.0f, 0.85f));
            const float puddle = Fbm(x * 0.015f, y * 0.015f, 330, 3);
            if (puddle > 0.66f) c = Mix(c, Mix(Hex(0x8CA2B8), Hex(0xC4D4E2), fine), std::clamp((puddle - 0.66f) * 60, 0.0f, 1.0f));
            c = Scale(c, std::clamp(l, 0.75f, 1.2f) * (0.92f + 0.12f * fine));
            SetPixel(s, x, y, ToColour(c));
        }
    return s;
}

Surface ForestFloor() {
    Surface s = Blank(N, N);
    Field2 h = Height(0.025f, 400, 5);
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            const float l = Light(h, x, y, 8);
            const float moss = Fbm(x * 0.03f, y * 0.03f, 410, 4);
            Rgb c = Mix(Hex(0x4A3A26), Hex(0x3C5A2A), std::clamp((moss - 0.4f) * 3, 0.0f, 1.0f));
            c = Scale(c, 0.85f + 0.3f * h.at(x, y));
            const float snow = Fbm(x * 0.02f, y * 0.02f, 420, 4);
            if (snow > 0.58f) c = Mix(c, Hex(0xE8EEF6), std::clamp((snow - 0.58f) * 8, 0.0f, 0.95f));
            c = Scale(c, std::clamp(l, 0.8f, 1.15f));
            SetPixel(s, x, y, ToColour(c));
        }
    // Pine needles and twigs.
    for (int i = 0; i < 700; i++) {
        const float x = Hash2(i, 0, 430) * N, y = Hash2(i, 1, 430) * N, a = Hash2(i, 2, 430) * 6.283f;
        const float len = 2 + Hash2(i, 3, 430) * (i % 13 == 0 ? 12 : 2.5f);
        const Rgb col = i % 13 == 0 ? Hex(0x5A4630) : Mix(Hex(0x5A4226), Hex(0x86683C), Hash2(i, 4, 430));
        for (float t = 0; t < len; t += 0.7f) SetPixel(s, int(x + std::cos(a) * t), int(y + std::sin(a) * t), ToColour(col));
    }
    // Two stumps.
    for (auto [sx, sy] : {std::pair{70.0f, 90.0f}, std::pair{220.0f, 210.0f}}) {
        for (int y = -9; y <= 9; y++)
            for (int x = -9; x <= 9; x++) {
                const float d = std::hypot(float(x), float(y));
                if (d > 8.5f) continue;
                const Rgb c = d > 6.8f ? Hex(0x4A3420) : Mix(Hex(0xC09A68), Hex(0x8A6A44), 0.5f + 0.5f * std::sin(d * 2.2f));
                SetPixel(s, int(sx) + x, int(sy) + y, ToColour(c));
            }
    }
    return s;
}

Surface RockyGround() {
    Surface s = Blank(N, N);
    Field2 h = Height(0.03f, 500, 4);
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            float edge;
            int id;
            const float wx = x + 22 * (Fbm(x * 0.02f, y * 0.02f, 505, 3) - 0.5f);
            const float wy = y + 22 * (Fbm(x * 0.02f, y * 0.02f, 506, 3) - 0.5f);
            Voronoi(wx, wy, 38, 510, edge, id);
            const float tone = Hash2(id, 0, 520);
            const float fine = Fbm(x * 0.25f, y * 0.25f, 530, 3);
            const float drift = Fbm(x * 0.02f, y * 0.02f, 540, 3);
            // Rounded stones: darker towards their edges, lit from the top left.
            Rgb c = Mix(Hex(0x5E5E62), Hex(0x9C968E), tone);
            c = Mix(c, Hex(0x8A7A66), Hash2(id, 1, 520) * 0.4f);
            c = Scale(c, (0.78f + 0.3f * fine) * (0.75f + 0.25f * std::min(edge, 6.0f) / 6) * std::clamp(Light(h, x, y, 6), 0.85f, 1.15f));
            if (edge < 1.6f) c = drift > 0.5f ? Mix(Hex(0xDCE4EE), Hex(0xB0BCCC), fine) : Mix(Hex(0x3A3634), Hex(0x54504A), fine);
            if (drift > 0.64f) c = Mix(c, Hex(0xF0F4FA), std::clamp((drift - 0.64f) * 6, 0.0f, 0.9f));
            SetPixel(s, x, y, ToColour(c));
        }
    return s;
}

// A frozen lake: clear ice with cracks, snowy banks round the edge.
Surface FrozenLake() {
    Surface s = Blank(N, N);
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            const float n = Fbm(x * 0.01f, y * 0.01f, 600, 4);
            const float shore = std::hypot((x - 150) / 150.0f, (y - 150) / 140.0f) + 0.35f * (n - 0.5f);
            const float fine = Fbm(x * 0.15f, y * 0.15f, 610, 3);
            const Rgb bank = Scale(Mix(Hex(0xD8E2F0), Hex(0xFAFCFF), fine), 0.95f + 0.1f * n);
            Rgb c = bank;
            if (shore < 0.95f) {
                c = Mix(Hex(0x5A86A8), Hex(0x9CC0D8), std::clamp(n * 1.3f - 0.1f + 0.4f * shore, 0.0f, 1.0f));
                c = Scale(c, 0.95f + 0.1f * fine);
                float edge;
                int id;
                const float wx = x + 14 * (Fbm(x * 0.03f, y * 0.03f, 615, 3) - 0.5f);
                const float wy = y + 14 * (Fbm(x * 0.03f, y * 0.03f, 616, 3) - 0.5f);
                Voronoi(wx, wy, 56, 620, edge, id);
                if (edge < 0.7f && Fbm(x * 0.05f, y * 0.05f, 630, 2) > 0.45f) c = Mix(c, Hex(0xE0F0FA), 0.6f);
                const float snowDust = Fbm(x * 0.04f, y * 0.04f, 640, 3);
                if (snowDust > 0.65f) c = Mix(c, Hex(0xEEF4FA), (snowDust - 0.65f) * 3);
                // Snow drifts over the ice near the bank.
                c = Mix(c, bank, std::clamp((shore - 0.87f) / 0.08f, 0.0f, 1.0f));
            }
            SetPixel(s, x, y, ToColour(c));
        }
    return s;
}
}  // namespace

void DrawTerrain(PictureList& out) {
    out.push_back({"Map01.jpg", SnowField()});
    out.push_back({"Map02.jpg", FrozenMud()});
    out.push_back({"Map03.jpg", ForestFloor()});
    out.push_back({"Map04.jpg", RockyGround()});
    out.push_back({"Map05.bmp", FrozenLake()});
}
