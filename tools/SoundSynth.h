// Small synthesis kit for the generated sounds: a seeded noise source,
// oscillators, filters, envelopes, a stereo track with circular mixing for
// loops, a reverb, and the WAV writer. Everything is deterministic.
#pragma once

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace synth {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;

inline int Frames(double seconds) { return static_cast<int>(seconds * Rate + 0.5); }
inline double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Our own noise so the files come out the same on every machine and run.
struct Noise {
    uint32_t S;
    explicit Noise(uint32_t seed) : S(seed * 2654435761u + 12345u) {
        if (!S) S = 1;
    }
    uint32_t Bits() {
        S ^= S << 13;
        S ^= S >> 17;
        S ^= S << 5;
        return S;
    }
    float Uniform() { return (Bits() >> 8) * (1.0f / 16777216.0f); }  // 0..1
    float White() { return Uniform() * 2.0f - 1.0f; }                   // -1..1
};

// Phase-accumulating oscillator; saw and square are band-limited with polyBLEP.
struct Osc {
    double Phase = 0;
    static double Blep(double t, double dt) {
        if (t < dt) {
            t /= dt;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }
    double Step(double hz) {
        double p = Phase;
        Phase += hz / Rate;
        Phase -= std::floor(Phase);
        return p;
    }
    float Sine(double hz) { return static_cast<float>(std::sin(2 * Pi * Step(hz))); }
    float Saw(double hz) {
        double dt = hz / Rate, p = Step(hz);
        return static_cast<float>(2.0 * p - 1.0 - Blep(p, dt));
    }
    float Square(double hz, double width = 0.5) {
        double dt = hz / Rate, p = Step(hz);
        double v = p < width ? 1.0 : -1.0;
        v += Blep(p, dt);
        double q = p - width + (p < width ? 1.0 : 0.0);
        v -= Blep(q, dt);
        return static_cast<float>(v - (2 * width - 1));  // no DC for narrow pulses
    }
    float Triangle(double hz) {
        double p = Step(hz);
        return static_cast<float>(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
    }
};

struct OnePole {
    float Z = 0;
    float Low(float x, double hz) {
        float a = static_cast<float>(1.0 - std::exp(-2 * Pi * hz / Rate));
        Z += a * (x - Z);
        return Z;
    }
    float High(float x, double hz) { return x - Low(x, hz); }
};

// Zero-delay state-variable filter: stable for any cutoff below Nyquist.
struct Svf {
    float Ic1 = 0, Ic2 = 0;
    float LowOut = 0, BandOut = 0, HighOut = 0;
    void Run(float x, double hz, double q) {
        hz = std::fmin(hz, Rate * 0.45);
        double g = std::tan(Pi * hz / Rate), k = 1.0 / q;
        double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        double v3 = x - Ic2;
        double v1 = a1 * Ic1 + a2 * v3;
        double v2 = Ic2 + a2 * Ic1 + a3 * v3;
        Ic1 = static_cast<float>(2 * v1 - Ic1);
        Ic2 = static_cast<float>(2 * v2 - Ic2);
        LowOut = static_cast<float>(v2);
        BandOut = static_cast<float>(v1);
        HighOut = static_cast<float>(x - k * v1 - v2);
    }
    float Low(float x, double hz, double q = 0.707) {
        Run(x, hz, q);
        return LowOut;
    }
    float Band(float x, double hz, double q) {
        Run(x, hz, q);
        return BandOut;
    }
    float High(float x, double hz, double q = 0.707) {
        Run(x, hz, q);
        return HighOut;
    }
};

// Linear attack, then exponential decay with time constant decay (seconds).
inline float Perc(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return static_cast<float>(t / attack);
    return static_cast<float>(std::exp(-(t - attack) / decay));
}

// Attack, hold until length, then a release; zero outside.
inline float Gate(double t, double length, double attack, double release) {
    if (t < 0 || t > length + release) return 0;
    double a = attack > 0 ? std::fmin(1.0, t / attack) : 1.0;
    if (t > length) a *= 1.0 - (t - length) / release;
    return static_cast<float>(a);
}

inline double Smooth(double u) {
    u = std::fmin(1.0, std::fmax(0.0, u));
    return u * u * (3 - 2 * u);
}

using Mono = std::vector<float>;

// Brings the end of a decaying note smoothly to zero, so cutting it off does not click.
inline void EndFade(Mono& s, double seconds) {
    size_t f = std::min(s.size(), static_cast<size_t>(Frames(seconds)));
    for (size_t i = 0; i < f; i++) s[s.size() - 1 - i] *= static_cast<float>(Smooth(double(i) / f));
}

struct Track {
    Mono L, R;
    bool Circular = false;  // loops: what runs past the end continues at the start
    explicit Track(int frames, bool circular = false) : L(frames, 0.0f), R(frames, 0.0f), Circular(circular) {}
    int Size() const { return static_cast<int>(L.size()); }
    // Adds a mono signal at frame start, pan -1 (left) .. +1 (right), equal power.
    void Add(const Mono& s, int start, float gain = 1.0f, float pan = 0.0f) {
        double a = (pan + 1.0) * Pi / 4;
        float gl = static_cast<float>(gain * std::cos(a) * std::sqrt(2.0));
        float gr = static_cast<float>(gain * std::sin(a) * std::sqrt(2.0));
        int n = Size();
        for (size_t i = 0; i < s.size(); i++) {
            long k = start + static_cast<long>(i);
            if (Circular) k %= n;
            else if (k >= n) break;
            if (k < 0) continue;
            L[k] += gl * s[i];
            R[k] += gr * s[i];
        }
    }
};

// A small stereo reverb (parallel combs, then allpasses). On a circular track
// the tail wraps round, so a loop keeps its reverb across the seam.
void Reverb(Track& t, float wet, float roomSize, float damp);

// Soft saturation for punch without hard clipping.
inline float SoftClip(float x) { return std::tanh(x); }

// Scales so the peak of both channels is peak (0..1).
void Normalize(Track& t, double peak);
// Fades the last seconds to zero (for one-shots).
void FadeOut(Track& t, double seconds);

// Writes 16-bit stereo 22050 Hz PCM; lead is silence put before the sound,
// so the game's start offsets of up to 506 bytes never cut the attack.
bool WriteWav(const std::string& path, const Track& t, double leadSeconds);

}  // namespace synth
