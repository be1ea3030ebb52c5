// The short sounds of the battle and the menus.
#include <algorithm>

#include "SoundVoices.h"

namespace synth {

namespace {

// Mono track helper: fills a track of the given length from f(t, i).
template <typename F>
Track Render(double seconds, F f) {
    Track t(Frames(seconds));
    for (int i = 0; i < t.Size(); i++) {
        float v = f(double(i) / Rate, i);
        t.L[i] = v;
        t.R[i] = v;
    }
    return t;
}

// A bell-like tone: a few partials, each decaying on its own.
Mono Chime(double hz, double seconds, double decay, const std::vector<double>& ratios) {
    Mono s(Frames(seconds));
    std::vector<Osc> osc(ratios.size());
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        float v = 0;
        for (size_t p = 0; p < ratios.size(); p++) {
            if (hz * ratios[p] > Rate * 0.45) continue;
            v += osc[p].Sine(hz * ratios[p]) * Perc(t, 0.003, decay / (1 + p * 0.7)) / (1 + p);
        }
        s[i] = v;
    }
    EndFade(s, seconds * 0.3);
    return s;
}

// Formants of a few vowels: frequency and relative level of three resonances.
struct Vowel {
    double F[3];
    double G[3];
};
const Vowel VowelA{{730, 1090, 2440}, {1.0, 0.5, 0.2}};
const Vowel VowelO{{570, 840, 2410}, {1.0, 0.45, 0.12}};
const Vowel VowelU{{300, 870, 2240}, {1.0, 0.3, 0.08}};
const Vowel VowelE{{530, 1840, 2480}, {1.0, 0.4, 0.25}};
const Vowel VowelAe{{660, 1720, 2410}, {1.0, 0.5, 0.25}};
const Vowel VowelUh{{520, 1190, 2390}, {1.0, 0.45, 0.15}};

Vowel Mix(const Vowel& a, const Vowel& b, double u) {
    Vowel v;
    for (int k = 0; k < 3; k++) {
        v.F[k] = a.F[k] + (b.F[k] - a.F[k]) * u;
        v.G[k] = a.G[k] + (b.G[k] - a.G[k]) * u;
    }
    return v;
}

struct VoiceShape {
    double Seconds;
    double Pitch0, Pitch1;  // start and end pitch
    const Vowel* From;
    const Vowel* To;
    double Rough;   // irregular pulses, growl
    double Breath;  // noise in the source
    double Vibrato, VibratoHz;
    double Attack, Release;
    uint32_t Seed;
};

// A throat: a pulse train (and breath) through three formant filters.
Track Voice(const VoiceShape& v) {
    Noise n(v.Seed);
    Osc glottis, wobble;
    Svf f[3];
    OnePole tilt;
    double jitter = 0;
    return Render(v.Seconds, [&](double t, int) {
        double u = t / v.Seconds;
        jitter += (n.White() * 0.5 - jitter) * 0.02;
        double hz = v.Pitch0 * std::pow(v.Pitch1 / v.Pitch0, u);
        hz *= 1 + v.Vibrato * wobble.Sine(v.VibratoHz) + v.Rough * 0.08 * jitter;
        float src = glottis.Saw(hz);
        // Growl: every other pulse weaker.
        if (v.Rough > 0) src *= static_cast<float>(1 - v.Rough * 0.5 * (glottis.Phase < 0.5 ? 0 : 1) * std::fabs(jitter + 0.5));
        src = tilt.Low(src, 1800) + static_cast<float>(v.Breath) * n.White();
        Vowel w = Mix(*v.From, *v.To, Smooth(u));
        float out = 0;
        for (int k = 0; k < 3; k++) out += static_cast<float>(w.G[k]) * f[k].Band(src, w.F[k], 6 + 2 * k);
        double env = std::fmin(1.0, t / v.Attack);
        double rel = v.Seconds - t;
        if (rel < v.Release) env *= rel / v.Release;
        return static_cast<float>(out * env);
    });
}

}  // namespace

Track Gunshot() {
    Noise n(1);
    Osc thump;
    Svf body, crack, tail;
    Track t = Render(0.5, [&](double t, int) {
        float w = n.White();
        float c = crack.High(w, 1800) * Perc(t, 0.0008, 0.012);
        float b = body.Low(w, 2600, 0.9) * Perc(t, 0.001, 0.05);
        float th = thump.Sine(55 + 110 * std::exp(-t / 0.02)) * Perc(t, 0.001, 0.06);
        float r = tail.Low(w, 700) * Perc(t, 0.01, 0.1) * 0.8f;
        return SoftClip(1.6f * (c * 0.9f + b * 1.1f + th * 0.9f + r));
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.72);
    return t;
}

Track Ricochet() {
    Noise n(2);
    Osc a, b, lfo;
    Svf tick;
    Track t = Render(0.55, [&](double t, int) {
        double hz = 1300 + 2100 * std::exp(-t / 0.18);
        hz *= 1 + 0.015 * lfo.Sine(38);
        float whine = (a.Sine(hz) + 0.4f * b.Sine(hz * 1.51)) * Perc(t, 0.006, 0.16);
        float k = tick.Band(n.White(), 3200, 1.5) * Perc(t, 0.0005, 0.008) * 2;
        return whine * 0.6f + k;
    });
    FadeOut(t, 0.08);
    Normalize(t, 0.7);
    return t;
}

Track BodyHit() {
    Noise n(3);
    Osc thud;
    Svf wet;
    OnePole low;
    Track t = Render(0.3, [&](double t, int) {
        float w = n.White();
        float body = low.Low(w, 700) * Perc(t, 0.001, 0.05) * 2.2f;
        float th = thud.Sine(60 + 70 * std::exp(-t / 0.03)) * Perc(t, 0.002, 0.07);
        float sq = wet.Band(w, 400 + 1000 * std::exp(-t / 0.04), 4) * Perc(t, 0.004, 0.06) * 2.5f;
        return SoftClip(body + th + sq);
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.7);
    return t;
}

Track HealthPickup() {
    Track t(Frames(0.75));
    const double notes[] = {76, 81, 88};  // E5 A5 E6: bright and rising
    for (int k = 0; k < 3; k++) t.Add(Chime(MidiHz(notes[k]), 0.5, 0.18, {1, 2, 3}), Frames(0.07 * k), 0.6f);
    Noise n(4);
    Svf sweep;
    for (int i = 0; i < Frames(0.25); i++) {
        double u = double(i) / Frames(0.25);
        float v = sweep.Band(n.White(), 1500 + 4000 * u, 2) * static_cast<float>(std::sin(Pi * u)) * 0.25f;
        t.L[i] += v;
        t.R[i] += v;
    }
    FadeOut(t, 0.1);
    Normalize(t, 0.65);
    return t;
}

Track AmmoPickup() {
    Noise n(5);
    Svf c1, c2, r1, r2, r3;
    Track t = Render(0.4, [&](double t, int) {
        float w = n.White();
        // Two mechanical clicks: the magazine goes in, the bolt closes.
        float a = c1.Band(w, 2500, 3) * Perc(t, 0.0005, 0.012);
        double t2 = t - 0.11;
        float e2 = Perc(t2, 0.0005, 0.02);
        float b = c2.Band(w, 1500, 2) * e2;
        float ring = (r1.Band(w, 2230, 40) + r2.Band(w, 3710, 40) + 0.6f * r3.Band(w, 5120, 40)) * Perc(t2, 0.001, 0.06);
        return 2.5f * a + 3 * b + 4 * ring;
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.65);
    return t;
}

Track Punch() {
    Noise n(6);
    Osc thud;
    Svf swish, slap;
    Track t = Render(0.32, [&](double t, int) {
        float w = n.White();
        double u = t / 0.06;
        // The swing rises until the fist lands, then dies away under the hit.
        double swing = u < 1 ? u * u : std::fmax(0.0, 1 - (u - 1) * 3);
        float whoosh = swish.Band(w, 500 + 1500 * std::fmin(u, 1.0), 1.5) * static_cast<float>(swing) * 0.5f;
        double h = t - 0.06;
        float hit = thud.Sine(48 + 90 * std::exp(-std::fmax(h, 0) / 0.025)) * Perc(h, 0.002, 0.08);
        float sl = slap.Low(w, 1400) * Perc(h, 0.001, 0.025) * 1.5f;
        return SoftClip(1.4f * (whoosh + hit + sl));
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.72);
    return t;
}

Track LevelUpJingle() {
    Track t(Frames(1.1));
    const double notes[] = {67, 72, 76, 79, 84};
    for (int k = 0; k < 5; k++) {
        bool last = k == 4;
        double len = last ? 0.45 : 0.075;
        Mono s(Frames(len + 0.15));
        Osc sq, tri, vib;
        double hz = MidiHz(notes[k]);
        for (size_t i = 0; i < s.size(); i++) {
            double tt = double(i) / Rate;
            double f = hz * (1 + (last ? 0.01 * vib.Sine(6) * std::fmin(1.0, tt / 0.2) : 0));
            s[i] = (0.5f * sq.Square(f, 0.25) + 0.6f * tri.Triangle(f / 2)) * Gate(tt, len, 0.004, 0.12) *
                   (last ? Perc(tt, 0.004, 0.5) : 1.0f);
        }
        t.Add(s, Frames(0.08 * k), 0.5f);
    }
    Reverb(t, 0.25f, 0.8f, 0.4f);
    FadeOut(t, 0.15);
    Normalize(t, 0.6);
    return t;
}

Track Pain(int variant) {
    static const VoiceShape shapes[6] = {
        {0.30, 165, 110, &VowelUh, &VowelUh, 0.3, 0.08, 0.0, 0, 0.015, 0.12, 11},
        {0.48, 210, 135, &VowelA, &VowelUh, 0.7, 0.10, 0.01, 9, 0.02, 0.2, 12},
        {0.24, 150, 100, &VowelO, &VowelU, 0.2, 0.35, 0.0, 0, 0.01, 0.12, 13},
        {0.26, 235, 170, &VowelE, &VowelE, 0.25, 0.06, 0.0, 0, 0.012, 0.12, 14},
        {0.58, 185, 118, &VowelA, &VowelO, 0.9, 0.12, 0.015, 7, 0.03, 0.25, 15},
        {0.32, 140, 122, &VowelU, &VowelUh, 0.4, 0.4, 0.0, 0, 0.02, 0.14, 16},
    };
    Track t = Voice(shapes[std::clamp(variant, 1, 6) - 1]);
    Normalize(t, 0.7);
    return t;
}

Track CleanerGrowl() {
    VoiceShape v{1.4, 68, 58, &VowelO, &VowelU, 1.0, 0.25, 0.04, 3.3, 0.25, 0.5, 21};
    Track t = Voice(v);
    Normalize(t, 0.72);
    return t;
}

Track CleanerHit() {
    // A yelp that jumps up, then breaks into the growl.
    VoiceShape v{0.5, 330, 110, &VowelA, &VowelO, 0.8, 0.15, 0.02, 11, 0.01, 0.2, 22};
    Track t = Voice(v);
    Normalize(t, 0.6);
    return t;
}

Track PropellerDrone() {
    Noise n(9);
    Osc engine, engine2, blade;
    Svf body, air;
    const double len = 6.0;
    Track t = Render(len, [&](double t, int) {
        double u = t / len;
        // Fly-by: comes in, passes over (pitch falls), goes away.
        double doppler = 1.05 - 0.1 * Smooth((u - 0.35) / 0.3);
        double hz = 82 * doppler;
        float e = engine.Saw(hz) + 0.5f * engine2.Square(hz * 2.01, 0.3);
        e = body.Low(e, 900, 1.2);
        float chop = static_cast<float>(0.55 + 0.45 * std::fabs(blade.Sine(hz * 0.33)));
        float wind = air.Low(n.White(), 600) * 0.5f;
        double level = Smooth(u / 0.3) * Smooth((1 - u) / 0.35);
        return static_cast<float>((e * chop + wind) * level);
    });
    Normalize(t, 0.62);
    return t;
}

Track Explosion() {
    Noise n(10);
    Osc sub;
    Svf body;
    OnePole rumble1, rumble2;
    Track t = Render(2.0, [&](double t, int) {
        float w = n.White();
        float crack = w * Perc(t, 0.0005, 0.015);
        float b = body.Low(w, 200 + 4000 * std::exp(-t / 0.12), 1.0) * Perc(t, 0.002, 0.35) * 1.6f;
        float r = rumble2.Low(rumble1.Low(w, 180), 180) * Perc(t, 0.02, 0.6) * 6;
        float th = sub.Sine(30 + 50 * std::exp(-t / 0.08)) * Perc(t, 0.003, 0.25) * 1.2f;
        return SoftClip(1.5f * (crack + b + r + th));
    });
    FadeOut(t, 0.4);
    Normalize(t, 0.7);
    return t;
}

Track MenuHover() {
    Osc a, b;
    Track t = Render(0.09, [&](double t, int) {
        return (a.Sine(1500) + 0.3f * b.Sine(3000)) * Perc(t, 0.002, 0.018);
    });
    FadeOut(t, 0.02);
    Normalize(t, 0.32);
    return t;
}

Track MenuClickSound() {
    Noise n(12);
    Osc tone;
    Svf click;
    Track t = Render(0.14, [&](double t, int) {
        float k = click.High(n.White(), 3000) * Perc(t, 0.0005, 0.004);
        float tock = tone.Sine(480 + 300 * std::exp(-t / 0.01)) * Perc(t, 0.001, 0.035);
        return k * 0.6f + tock;
    });
    FadeOut(t, 0.03);
    Normalize(t, 0.5);
    return t;
}

Track Shutter() {
    Noise n(13);
    Svf a, b, c;
    Osc motor;
    Track t = Render(0.55, [&](double t, int) {
        float w = n.White();
        float open = a.Band(w, 4200, 2) * Perc(t, 0.0005, 0.006) * 2 + b.Band(w, 2300, 3) * Perc(t, 0.001, 0.025);
        double t2 = t - 0.075;
        float close = c.Band(w, 2800, 3) * Perc(t2, 0.0005, 0.02) * 1.5f;
        // Film advance: a short whirr after the shot.
        double m = (t - 0.16) / 0.3;
        float whirr = (m > 0 && m < 1) ? motor.Saw(170 + 40 * m) * static_cast<float>(std::sin(Pi * m)) * 0.12f : 0.0f;
        return open + close + whirr;
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.6);
    return t;
}

Track AcidPickupSound() {
    Osc a, fm;
    Track t = Render(0.5, [&](double t, int) {
        // Two bubbles, the second higher.
        double local = t < 0.2 ? t : t - 0.2;
        double base = t < 0.2 ? 280 : 420;
        double hz = base * (1 + 2.2 * local / 0.2) * (1 + 0.08 * fm.Sine(31));
        return a.Sine(hz) * Perc(local, 0.004, 0.07) * static_cast<float>(Smooth((0.2 - local) / 0.04));
    });
    FadeOut(t, 0.05);
    Normalize(t, 0.62);
    return t;
}

Track AcidBad(int variant) {
    Osc a, b, ring, lfo;
    Svf f;
    const double len = 1.3;
    Track t = Render(len, [&](double t, int) {
        double u = t / len;
        if (variant == 1) {
            // Two tones a tritone apart sliding down, ring-modulated.
            double hz = 380 * std::pow(0.3, u);
            float v = a.Saw(hz) + b.Saw(hz * 1.414);
            v *= ring.Sine(37);
            return f.Low(v, 1600, 2) * Gate(t, len - 0.3, 0.04, 0.3) * 0.6f;
        }
        // A warble whose wobble gets deeper and slower, swelling then cut.
        double depth = 60 + 400 * u;
        double hz = std::fmax(40.0, 240 * std::pow(0.55, u) + depth * lfo.Sine(9 - 5 * u));
        float v = a.Square(hz, 0.35) + 0.5f * b.Sine(hz * 0.5);
        return f.Low(v, 900 + 800 * u, 3) * static_cast<float>(Smooth(u / 0.7)) * Gate(t, len - 0.12, 0.01, 0.12) * 0.5f;
    });
    Normalize(t, 0.62);
    return t;
}

Track AcidGood(int variant) {
    Track t(Frames(1.6), false);
    if (variant == 1) {
        // A sparkling D major run upward, voices spread left and right.
        const double notes[] = {74, 78, 81, 86, 90, 93};
        for (int k = 0; k < 6; k++)
            t.Add(Chime(MidiHz(notes[k]), 1.0, 0.35, {1, 2.0, 3.0, 4.1}), Frames(0.08 * k), 0.45f,
                  (k % 2 ? 0.5f : -0.5f));
    } else {
        // A warm chord that opens up, with sparkles on top.
        Noise n(32);
        const double chord[] = {55, 59, 62, 67, 71};
        for (int k = 0; k < 5; k++) {
            Mono s(Frames(1.5));
            Osc o1, o2;
            Svf f;
            double hz = MidiHz(chord[k]);
            for (size_t i = 0; i < s.size(); i++) {
                double tt = double(i) / Rate;
                float v = o1.Saw(hz * 1.003) + o2.Saw(hz * 0.997);
                s[i] = f.Low(v, 400 + 2500 * Smooth(tt / 0.8), 1.0) * Gate(tt, 1.1, 0.35, 0.4) * 0.25f;
            }
            t.Add(s, 0, 1.0f, (k - 2) * 0.3f);
        }
        for (int k = 0; k < 9; k++) {
            double start = 0.2 + n.Uniform() * 1.0;
            t.Add(Chime(MidiHz(88 + 12 * n.Uniform()), 0.3, 0.08, {1, 2.7}), Frames(start), 0.25f, n.White() * 0.8f);
        }
    }
    Reverb(t, 0.35f, 0.84f, 0.3f);
    FadeOut(t, 0.2);
    Normalize(t, 0.62);
    return t;
}

Track Heartbeat() {
    // One beat at about 86 per minute; the loop ends in silence, so it joins cleanly.
    const double len = 0.7;
    Noise n(36);
    Osc lub;
    OnePole thick;
    Track t = Render(len, [&](double t, int) {
        float v = 0;
        // The first beat waits past one device block: a paused game starts and
        // stops the heartbeat in the same pass, and that must stay silent.
        const double at[] = {0.045, 0.275};
        const double pitch[] = {58, 46};
        const double gain[] = {1.0, 0.7};
        for (int k = 0; k < 2; k++) {
            double tt = t - at[k];
            if (tt < 0 || tt > 0.2) continue;
            float env = Perc(tt, 0.012, 0.045) * static_cast<float>(Smooth((0.2 - tt) / 0.05));
            v += static_cast<float>(gain[k]) * env * (lub.Sine(pitch[k] * (1 + 0.5 * std::exp(-tt / 0.02))) +
                                                       0.3f * thick.Low(n.White(), 150));
        }
        return SoftClip(1.5f * v);
    });
    Normalize(t, 0.5);
    return t;
}

Track Siren() {
    const double len = 2.8;
    Osc o;
    Svf f;
    double phase = 0;
    Track t = Render(len, [&](double t, int) {
        phase += 1.0 / (0.93 * Rate);
        double sweep = 0.5 - 0.5 * std::cos(2 * Pi * phase);
        double hz = 560 + 520 * sweep;
        float v = f.Low(o.Square(hz, 0.5), 2600, 0.8);
        return v * Gate(t, len - 0.15, 0.03, 0.15);
    });
    Normalize(t, 0.3);  // a square wave is loud for its peak
    return t;
}

Track Bleat(int variant) {
    static const VoiceShape shapes[3] = {
        {0.75, 390, 340, &VowelAe, &VowelE, 0.25, 0.12, 0.06, 7.5, 0.04, 0.25, 39},
        {0.9, 460, 400, &VowelE, &VowelAe, 0.3, 0.15, 0.07, 6.5, 0.05, 0.3, 40},
        {0.6, 320, 300, &VowelAe, &VowelA, 0.35, 0.1, 0.05, 8.5, 0.03, 0.2, 41},
    };
    const VoiceShape& v = shapes[std::clamp(variant, 1, 3) - 1];
    Track t = Voice(v);
    // The bleat's tremble: the level pulses with the vibrato.
    Osc trem;
    for (int i = 0; i < t.Size(); i++) {
        float g = 0.7f + 0.3f * trem.Sine(v.VibratoHz);
        t.L[i] *= g;
        t.R[i] *= g;
    }
    Normalize(t, 0.6);
    return t;
}

Track StreakTone(int level) {
    level = std::clamp(level, 1, 4);
    const double notes[] = {76, 79, 83, 88};  // E5 G5 B5 E6: each kill in a row a step higher
    double top = notes[level - 1];
    Track t(Frames(0.7));
    t.Add(Chime(MidiHz(top - 5), 0.2, 0.05, {1, 2}), 0, 0.5f);
    std::vector<double> partials{1, 2, 3};
    for (int k = 0; k < level - 1; k++) partials.push_back(4.0 + k * 1.5);  // brighter as the row grows
    t.Add(Chime(MidiHz(top), 0.65, 0.2, partials), Frames(0.06), 0.8f);
    Reverb(t, 0.2f, 0.75f, 0.4f);
    FadeOut(t, 0.1);
    Normalize(t, 0.55);
    return t;
}

}  // namespace synth
