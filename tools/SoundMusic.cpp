// The music: the winter battle loop, the menu ambience, the score fanfares
// and the score tune.
#include <algorithm>

#include "SoundVoices.h"

namespace synth {

namespace {

struct Note {
    double Beat, Length, Midi;
};

// Horn-like lead: two saws whose filter opens on the attack, vibrato later.
Mono Lead(double hz, double seconds, double bright = 1.0) {
    Mono s(Frames(seconds + 0.25));
    Osc a, b, vib;
    Svf f;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        double v = 1 + 0.006 * vib.Sine(5.5) * Smooth((t - 0.15) / 0.3);
        float x = a.Saw(hz * v) + 0.6f * b.Saw(hz * v * 1.004);
        double cut = hz * (1.5 + bright * (2.5 * Perc(t, 0.03, 0.25) + 1.2));
        s[i] = f.Low(x, cut, 1.1) * Gate(t, seconds, 0.02, 0.2) * 0.5f;
    }
    return s;
}

// Soft string pad: detuned saws through a low filter, slow attack.
Mono Pad(double hz, double seconds, double attack, double release) {
    Mono s(Frames(seconds + release));
    Osc a, b, c;
    Svf f;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        float x = a.Saw(hz * 1.004) + b.Saw(hz * 0.996) + 0.5f * c.Saw(hz * 2.001);
        s[i] = f.Low(x, hz * 3 + 300, 0.8) * Gate(t, seconds, attack, release) * 0.2f;
    }
    return s;
}

Mono Bass(double hz, double seconds) {
    Mono s(Frames(seconds + 0.06));
    Osc a, sub;
    Svf f;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        float x = a.Saw(hz) + 0.7f * sub.Sine(hz);
        s[i] = f.Low(x, 250 + 900 * Perc(t, 0.005, 0.08), 1.3) * Gate(t, seconds, 0.005, 0.06) * 0.5f;
    }
    return s;
}

Mono Kick() {
    Mono s(Frames(0.3));
    Osc o;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        s[i] = SoftClip(1.5f * o.Sine(45 + 80 * std::exp(-t / 0.03)) * Perc(t, 0.002, 0.09));
    }
    EndFade(s, 0.1);
    return s;
}

// A marching snare: noise with the drum's tone under it.
Mono Snare(Noise& n, double level) {
    Mono s(Frames(0.25));
    Osc tone;
    Svf f;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        float x = f.Band(n.White(), 3000, 0.7) * Perc(t, 0.001, 0.07) + 0.5f * tone.Sine(190) * Perc(t, 0.001, 0.04);
        s[i] = x * static_cast<float>(level);
    }
    EndFade(s, 0.08);
    return s;
}

// Sleigh bells: a cluster of short high metallic pings.
Mono Jingle(Noise& n, double level) {
    Mono s(Frames(0.12));
    std::vector<double> hz;
    std::vector<double> at;
    for (int k = 0; k < 4; k++) {
        hz.push_back(5200 + 2600 * n.Uniform());
        at.push_back(0.012 * n.Uniform());
    }
    std::vector<Osc> o(4);
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        float v = 0;
        for (int k = 0; k < 4; k++) v += o[k].Sine(hz[k]) * Perc(t - at[k], 0.001, 0.025);
        s[i] = v * static_cast<float>(level) * 0.18f;
    }
    return s;
}

Mono Bell(double hz, double seconds) {
    Mono s(Frames(seconds));
    Osc a, b, c;
    for (size_t i = 0; i < s.size(); i++) {
        double t = double(i) / Rate;
        s[i] = (a.Sine(hz) * Perc(t, 0.004, seconds * 0.3) + 0.5f * b.Sine(hz * 2.76) * Perc(t, 0.002, seconds * 0.12) +
                0.25f * c.Sine(hz * 5.4) * Perc(t, 0.001, seconds * 0.05)) *
               0.4f;
    }
    EndFade(s, seconds * 0.3);
    return s;
}

void Play(Track& t, const std::vector<Note>& notes, double beat, double offset, float gain, float pan, bool lead) {
    for (const Note& n : notes) {
        if (n.Midi <= 0) continue;
        double len = n.Length * beat * 0.92;
        Mono s = lead ? Lead(MidiHz(n.Midi), len) : Bass(MidiHz(n.Midi), len);
        t.Add(s, Frames(offset + n.Beat * beat), gain, pan);
    }
}

// Turns a list of lengths and pitches into notes with beats.
std::vector<Note> Line(std::initializer_list<std::pair<double, double>> lengthsAndPitches, double start = 0) {
    std::vector<Note> out;
    double beat = start;
    for (auto [len, pitch] : lengthsAndPitches) {
        out.push_back({beat, len, pitch});
        beat += len;
    }
    return out;
}

}  // namespace

Track BattleMusic() {
    // D minor march, 150 beats per minute, 16 bars: 25.6 seconds. The last half
    // beat rests, so the loop breathes before it starts again.
    const double beat = 0.4;
    const int bars = 16;
    Track t(Frames(bars * 4 * beat), true);
    // Chords as root notes of bar (D=50): Dm Dm Bb C Dm Dm Gm A Bb C Dm Bb Gm A Dm A.
    const int roots[bars] = {50, 50, 46, 48, 50, 50, 55, 45, 46, 48, 50, 46, 55, 45, 50, 45};
    const bool minor[bars] = {1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0};
    const double lead0 = 0.012;  // the first attack comes after the game's start offset

    std::vector<Note> melody = Line({
        {1, 74}, {0.5, 69}, {0.5, 74}, {1, 77}, {1, 76},          // 1
        {1.5, 74}, {0.5, 72}, {2, 69},                            // 2
        {1, 70}, {1, 74}, {1, 77}, {1, 74},                       // 3
        {1, 72}, {1, 76}, {1.5, 79}, {0.5, 77},                   // 4
        {1, 77}, {0.5, 76}, {0.5, 74}, {2, 81},                   // 5
        {0.5, 79}, {0.5, 77}, {1, 76}, {2, 74},                   // 6
        {1, 70}, {1, 74}, {1, 79}, {0.5, 77}, {0.5, 76},          // 7
        {1, 76}, {1, 73}, {2, 69},                                // 8
        {1.5, 77}, {0.5, 74}, {1, 70}, {1, 74},                   // 9
        {1.5, 76}, {0.5, 72}, {2, 79},                            // 10
        {1, 81}, {0.5, 79}, {0.5, 77}, {1, 76}, {1, 74},          // 11
        {1, 77}, {1, 74}, {2, 70},                                // 12
        {0.5, 67}, {0.5, 70}, {1, 74}, {1.5, 79}, {0.5, 77},      // 13
        {1, 76}, {1, 73}, {1, 76}, {1, 81},                       // 14
        {1, 74}, {0.5, 69}, {0.5, 74}, {1, 77}, {0.5, 76}, {0.5, 74},  // 15
        {1, 73}, {0.5, 76}, {0.5, 73}, {1.5, 69}, {0.5, 0},       // 16
    });
    Play(t, melody, beat, lead0, 0.55f, 0.1f, true);
    // The melody an octave lower and quieter in the second half, for weight.
    std::vector<Note> low;
    for (const Note& n : melody)
        if (n.Beat >= 32 && n.Midi > 0) low.push_back({n.Beat, n.Length, n.Midi - 12});
    Play(t, low, beat, lead0, 0.25f, -0.3f, true);

    Noise n(22);
    Mono kick = Kick();
    for (int bar = 0; bar < bars; bar++) {
        double b0 = lead0 + bar * 4 * beat;
        int r = roots[bar];
        // Bass: eighths on the root with the octave and fifth.
        const int steps[8] = {0, 0, 12, 0, 0, 0, 7, 0};
        for (int e = 0; e < 8; e++) {
            if (bar == bars - 1 && e == 7) continue;
            t.Add(Bass(MidiHz(r - 12 + steps[e]), beat * 0.42), Frames(b0 + e * beat / 2), 0.55f, -0.05f);
        }
        // Pad: the chord held for the bar.
        int third = minor[bar] ? 3 : 4;
        double padLen = 4 * beat - (bar == bars - 1 ? 0.6 : 0.1);
        for (int iv : {0, third, 7}) t.Add(Pad(MidiHz(r + 12 + iv), padLen, 0.15, 0.3), Frames(b0), 0.4f, iv == third ? 0.5f : -0.4f);
        // Drums: kick on one and three, snare on two and four, a roll closing each phrase.
        t.Add(kick, Frames(b0), 0.8f);
        t.Add(kick, Frames(b0 + 2 * beat), 0.8f);
        if (bar % 2 == 1) t.Add(kick, Frames(b0 + 2.5 * beat), 0.5f);
        t.Add(Snare(n, 0.55), Frames(b0 + beat), 1.0f, 0.15f);
        bool roll = bar % 4 == 3;
        if (!roll || bar == bars - 1) t.Add(Snare(n, 0.55), Frames(b0 + 3 * beat), 1.0f, 0.15f);
        if (roll && bar != bars - 1)
            for (int s = 0; s < 4; s++) t.Add(Snare(n, 0.25 + 0.1 * s), Frames(b0 + 3 * beat + s * beat / 4), 1.0f, 0.15f);
        else
            t.Add(Snare(n, 0.18), Frames(b0 + 3.75 * beat), 1.0f, 0.15f);
        // Sleigh bells on the eighths, resting at the very end of the loop.
        for (int e = 0; e < 8; e++) {
            if (bar == bars - 1 && e == 7) continue;
            t.Add(Jingle(n, e % 2 ? 0.5 : 0.8), Frames(b0 + e * beat / 2), 1.0f, -0.5f);
        }
    }
    Reverb(t, 0.35f, 0.8f, 0.35f);
    Normalize(t, 0.75);
    return t;
}

Track MenuAmbience() {
    // Cold wind with a slow breathing pad and a few distant bells, 16 seconds.
    const double len = 16.0;
    const int n = Frames(len);
    Track t(n, true);
    // Wind: the noise repeats with the loop and the filters run two rounds, so
    // the end flows into the start.
    Noise noise(26);
    Mono white(n), white2(n);
    for (int i = 0; i < n; i++) {
        white[i] = noise.White();
        white2[i] = noise.White();
    }
    Svf w1, w2;
    for (int pass = 0; pass < 2; pass++) {
        for (int i = 0; i < n; i++) {
            double u = double(i) / n;
            // Gusts: periodic with the loop, lowest at the seam.
            double gust = 0.1 + 0.9 * std::pow(0.5 - 0.5 * std::cos(2 * Pi * u * 2), 1.5) * (0.6 + 0.4 * std::sin(2 * Pi * u * 3));
            double fc = 500 + 700 * gust + 200 * std::sin(2 * Pi * u * 5);
            float l = w1.Band(white[i], fc, 2.5) * static_cast<float>(gust);
            float r = w2.Band(white2[i], fc * 1.1, 2.5) * static_cast<float>(gust);
            if (pass == 1) {
                t.L[i] = l * 0.3f;
                t.R[i] = r * 0.3f;
            }
        }
    }
    // Pad: four chords of four seconds, each swelling in and out.
    const int chords[4][3] = {{50, 53, 57}, {46, 50, 53}, {43, 46, 50}, {45, 49, 52}};
    for (int c = 0; c < 4; c++) {
        for (int k = 0; k < 3; k++) {
            Mono s = Pad(MidiHz(chords[c][k] + 12), 4.0, 0.001, 0.001);
            for (size_t i = 0; i < s.size(); i++) {
                double u = std::fmin(1.0, double(i) / Frames(4.0));
                s[i] *= static_cast<float>(std::pow(std::sin(Pi * u), 2));
            }
            t.Add(s, Frames(c * 4.0), 0.8f, (k - 1) * 0.5f);
        }
    }
    const double bells[][2] = {{1.3, 81}, {5.6, 77}, {9.2, 76}, {12.7, 74}};
    for (auto& b : bells) t.Add(Bell(MidiHz(b[1]), 3.0), Frames(b[0]), 0.35f, b[1] > 76 ? 0.6f : -0.6f);
    Reverb(t, 0.5f, 0.85f, 0.3f);
    Normalize(t, 0.55);
    return t;
}

Track Fanfare(int variant) {
    variant = std::clamp(variant, 1, 3);
    const double beat = 0.14;
    std::vector<Note> top, harmony;
    if (variant == 1) {
        top = Line({{1, 67}, {1, 67}, {1, 67}, {5, 72}});
        harmony = Line({{1, 64}, {1, 64}, {1, 64}, {5, 67}});
    } else if (variant == 2) {
        top = Line({{1.5, 72}, {1.5, 76}, {1.5, 79}, {7, 84}});
        harmony = Line({{1.5, 64}, {1.5, 67}, {1.5, 72}, {7, 76}});
    } else {
        top = Line({{1, 65}, {1, 69}, {1, 72}, {2, 77}, {1, 76}, {1, 77}, {7, 81}});
        harmony = Line({{1, 60}, {1, 65}, {1, 69}, {2, 72}, {1, 72}, {1, 72}, {7, 77}});
    }
    double total = 0;
    for (const Note& n : top) total = std::max(total, n.Beat + n.Length);
    Track t(Frames(total * beat + 0.8));
    Play(t, top, beat, 0, 0.6f, 0.2f, true);
    Play(t, harmony, beat, 0, 0.45f, -0.2f, true);
    // The last chord gets a timpani-like boom under it.
    Mono boom(Frames(0.8));
    Osc o;
    for (size_t i = 0; i < boom.size(); i++) {
        double tt = double(i) / Rate;
        boom[i] = o.Sine(MidiHz(top.back().Midi - 36) * (1 + 0.2 * std::exp(-tt / 0.02))) * Perc(tt, 0.005, 0.3);
    }
    EndFade(boom, 0.3);
    t.Add(boom, Frames(top.back().Beat * beat), 0.7f);
    Reverb(t, 0.35f, 0.8f, 0.35f);
    FadeOut(t, 0.3);
    Normalize(t, 0.65);
    return t;
}

Track ScoreTune() {
    // A calm, proud tune in D major for the score table: 4 bars at 100 per minute.
    const double beat = 0.6;
    Track t(Frames(16 * beat + 1.5));
    std::vector<Note> melody = Line({
        {1, 74}, {1, 78}, {1.5, 81}, {0.5, 79},
        {1, 78}, {1, 76}, {2, 74},
        {1, 71}, {1, 74}, {1, 79}, {1, 78},
        {1, 76}, {1, 73}, {2, 74},
    });
    Play(t, melody, beat, 0, 0.5f, 0.1f, true);
    const int roots[4] = {50, 47, 43, 45};
    const bool minor[4] = {0, 1, 0, 0};
    for (int bar = 0; bar < 4; bar++) {
        double b0 = bar * 4 * beat;
        int r = roots[bar];
        int third = minor[bar] ? 3 : 4;
        bool last = bar == 3;
        double len = last ? 2 * beat : 4 * beat;
        for (int iv : {0, third, 7}) t.Add(Pad(MidiHz(r + 12 + iv), len, 0.2, 0.5), Frames(b0), 0.45f, iv == third ? 0.5f : -0.4f);
        for (int q = 0; q < (last ? 2 : 4); q++) t.Add(Bass(MidiHz(r - 12 + (q % 2 ? 7 : 0)), beat * 0.8), Frames(b0 + q * beat), 0.5f);
        t.Add(Bell(MidiHz(r + 36), 1.5), Frames(b0), 0.25f, 0.5f);
    }
    // Closing D major chord.
    double end = 14 * beat;
    for (int iv : {0, 4, 7, 12}) t.Add(Pad(MidiHz(50 + 12 + iv), 2 * beat, 0.05, 1.0), Frames(end), 0.45f, iv == 4 ? 0.5f : -0.3f);
    t.Add(Bass(MidiHz(38), 2 * beat), Frames(end), 0.5f);
    Reverb(t, 0.4f, 0.82f, 0.3f);
    FadeOut(t, 0.6);
    Normalize(t, 0.7);
    return t;
}

}  // namespace synth
