#include "SoundSynth.h"

#include <algorithm>
#include <cstdio>

namespace synth {

namespace {

struct Comb {
    std::vector<float> Buf;
    size_t At = 0;
    float Store = 0;
    float Run(float x, float feedback, float damp) {
        float y = Buf[At];
        Store = y * (1 - damp) + Store * damp;
        Buf[At] = x + Store * feedback;
        At = (At + 1) % Buf.size();
        return y;
    }
};

struct Allpass {
    std::vector<float> Buf;
    size_t At = 0;
    float Run(float x) {
        float b = Buf[At];
        float y = b - x;
        Buf[At] = x + b * 0.5f;
        At = (At + 1) % Buf.size();
        return y;
    }
};

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

void Reverb(Track& t, float wet, float roomSize, float damp) {
    // Delay lengths scaled from the classic tuning for 44.1 kHz.
    static const int CombLen[] = {1116, 1188, 1277, 1356, 1422, 1491};
    static const int ApLen[] = {556, 441, 341};
    const int spread = 23;
    int n = t.Size();
    for (int ch = 0; ch < 2; ch++) {
        Mono& x = ch ? t.R : t.L;
        std::vector<Comb> combs;
        for (int len : CombLen) combs.push_back({std::vector<float>((len + ch * spread) / 2, 0.0f)});
        std::vector<Allpass> aps;
        for (int len : ApLen) aps.push_back({std::vector<float>((len + ch * spread) / 2, 0.0f)});
        Mono out(n, 0.0f);
        // A circular track runs twice so the filters hold the tail of its end.
        int passes = t.Circular ? 2 : 1;
        for (int p = 0; p < passes; p++) {
            for (int i = 0; i < n; i++) {
                float in = x[i] * 0.03f;
                float y = 0;
                for (Comb& c : combs) y += c.Run(in, roomSize, damp);
                for (Allpass& a : aps) y = a.Run(y);
                out[i] = y;
            }
        }
        for (int i = 0; i < n; i++) x[i] += wet * out[i];
    }
}

void Normalize(Track& t, double peak) {
    float m = 1e-9f;
    for (int i = 0; i < t.Size(); i++) m = std::max({m, std::fabs(t.L[i]), std::fabs(t.R[i])});
    float g = static_cast<float>(peak / m);
    for (int i = 0; i < t.Size(); i++) {
        t.L[i] *= g;
        t.R[i] *= g;
    }
}

void FadeOut(Track& t, double seconds) {
    int f = std::min(Frames(seconds), t.Size());
    for (int i = 0; i < f; i++) {
        float g = static_cast<float>(Smooth(double(i) / f));
        int k = t.Size() - 1 - i;
        t.L[k] *= g;
        t.R[k] *= g;
    }
}

bool WriteWav(const std::string& path, const Track& t, double leadSeconds) {
    int lead = Frames(leadSeconds);
    uint32_t frames = static_cast<uint32_t>(lead + t.Size());
    std::string s;
    s.reserve(44 + frames * 4);
    s += "RIFF";
    Put32(s, 36 + frames * 4);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);  // PCM
    Put16(s, 2);
    Put32(s, Rate);
    Put32(s, Rate * 4);
    Put16(s, 4);
    Put16(s, 16);
    s += "data";
    Put32(s, frames * 4);
    for (int i = 0; i < lead; i++) Put32(s, 0);
    for (int i = 0; i < t.Size(); i++) {
        for (float v : {t.L[i], t.R[i]}) {
            long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
            Put16(s, static_cast<uint32_t>(static_cast<int16_t>(q)) & 0xFFFF);
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(s.data(), 1, s.size(), f) == s.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace synth
