#include "platform/Mixer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

namespace {

struct Buffer {
    bool Used = false;
    std::vector<int16_t> Data;  // interleaved stereo
    uint32_t Frames = 0;
    uint32_t Pos = 0;  // in frames
    bool Playing = false;
    bool Loop = false;
    int32_t Volume = 0;
    int32_t Pan = 0;
    int32_t GainL = 32768, GainR = 32768;  // Q15
};

std::vector<Buffer> Buffers;
SDL_AudioDeviceID Device = 0;
bool SubsystemUp = false;

// The control calls come from the game thread while the device callback mixes.
struct DeviceLock {
    DeviceLock() {
        if (Device) SDL_LockAudioDevice(Device);
    }
    ~DeviceLock() {
        if (Device) SDL_UnlockAudioDevice(Device);
    }
};

Buffer* Find(int buffer) {
    if (buffer < 0 || buffer >= static_cast<int>(Buffers.size()) || !Buffers[buffer].Used) return nullptr;
    return &Buffers[buffer];
}

int32_t Q15(double gain) { return static_cast<int32_t>(std::lround(std::clamp(gain, 0.0, 1.0) * 32768.0)); }

// Attenuation and pan in hundredths of a decibel: the pan attenuates only the
// far channel, by |pan|.
void UpdateGains(Buffer& b) {
    double g = std::pow(10.0, b.Volume / 2000.0);
    double left = g, right = g;
    if (b.Pan > 0) left *= std::pow(10.0, -b.Pan / 2000.0);
    if (b.Pan < 0) right *= std::pow(10.0, b.Pan / 2000.0);
    b.GainL = Q15(left);
    b.GainR = Q15(right);
}

void AudioCallback(void*, Uint8* stream, int len) {
    MixerMix(reinterpret_cast<int16_t*>(stream), len / 4);
}

// ---------------------------------------------------------------- WAV reading

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// One sample of integer PCM as a value in the 16-bit range.
int32_t ReadSample(const uint8_t* p, int bits) {
    switch (bits) {
        case 8: return (int32_t(p[0]) - 128) << 8;
        case 16: return int16_t(U16(p));
        case 24: return int16_t(U16(p + 1));  // the top two of three bytes
        default: return int32_t(U32(p)) >> 16;
    }
}

struct WavInfo {
    uint32_t Tag = 0, Channels = 0, Rate = 0, Bits = 0;
    size_t DataAt = 0, DataBytes = 0;
};

// Finds the format and the sample data among the chunks in the first n bytes
// of a file of fileSize bytes.
bool ParseWav(const uint8_t* p, size_t n, size_t fileSize, WavInfo& w) {
    if (n < 12 || std::memcmp(p, "RIFF", 4) || std::memcmp(p + 8, "WAVE", 4)) return false;
    size_t at = 12;
    while (at + 8 <= n) {
        const uint8_t* chunk = p + at;
        size_t size = U32(chunk + 4);
        size_t avail = n - at - 8;
        if (!std::memcmp(chunk, "fmt ", 4) && size >= 16 && avail >= 16) {
            w.Tag = U16(chunk + 8);
            w.Channels = U16(chunk + 10);
            w.Rate = U32(chunk + 12);
            w.Bits = U16(chunk + 22);
            // WAVE_FORMAT_EXTENSIBLE carries the real tag in its sub-format.
            if (w.Tag == 0xFFFE && size >= 40 && avail >= 40) w.Tag = U16(chunk + 32);
        } else if (!std::memcmp(chunk, "data", 4)) {
            w.DataAt = at + 8;
            w.DataBytes = std::min(size, fileSize - at - 8);  // a cut-off file keeps what it has
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (!w.DataAt || w.Tag != 1 || w.Channels < 1 || w.Channels > 8 || w.Rate < 1000 || w.Rate > 384000) return false;
    return w.Bits == 8 || w.Bits == 16 || w.Bits == 24 || w.Bits == 32;
}

bool IsMixerFormat(const WavInfo& w) {
    return w.Channels == 2 && w.Bits == 16 && w.Rate == static_cast<uint32_t>(MixerRate) &&
           SDL_BYTEORDER == SDL_LIL_ENDIAN;
}

// Bytes of mixer samples the data becomes at the mixer's rate.
uint64_t ConvertedBytes(const WavInfo& w) {
    uint64_t inFrames = w.DataBytes / (w.Channels * (w.Bits / 8));
    uint64_t outFrames = (w.Rate == static_cast<uint32_t>(MixerRate) || inFrames < 2)
                             ? inFrames
                             : static_cast<uint64_t>(double(inFrames) * MixerRate / w.Rate);
    return outFrames * 4;
}

}  // namespace

bool MixerDecodeWav(const uint8_t* file, size_t size, std::vector<int16_t>& out) {
    WavInfo w;
    if (!ParseWav(file, size, size, w) || ConvertedBytes(w) > MixerMaxBufferBytes) return false;
    const uint8_t* data = file + w.DataAt;
    const uint32_t channels = w.Channels, bits = w.Bits, rate = w.Rate;
    const size_t frameBytes = channels * (bits / 8);
    const size_t inFrames = w.DataBytes / frameBytes;
    auto sample = [&](size_t frame, uint32_t c) -> int32_t {
        const uint8_t* f = data + frame * frameBytes;
        return ReadSample(c > 0 && channels > 1 ? f + bits / 8 : f, bits);
    };
    if (rate == static_cast<uint32_t>(MixerRate) || inFrames < 2) {
        out.resize(inFrames * 2);
        for (size_t i = 0; i < inFrames; i++) {
            out[2 * i] = static_cast<int16_t>(sample(i, 0));
            out[2 * i + 1] = static_cast<int16_t>(sample(i, 1));
        }
        return true;
    }
    // Linear resampling to the mixer's rate.
    const size_t outFrames = ConvertedBytes(w) / 4;
    out.assign(outFrames * 2, 0);
    const double step = double(rate) / MixerRate;
    for (size_t i = 0; i < outFrames; i++) {
        double x = i * step;
        size_t k = std::min(static_cast<size_t>(x), inFrames - 1);
        double t = x - k;
        size_t k1 = std::min(k + 1, inFrames - 1);
        for (uint32_t c = 0; c < 2; c++) {
            double v = sample(k, c) * (1 - t) + sample(k1, c) * t;
            out[2 * i + c] = static_cast<int16_t>(std::lround(v));
        }
    }
    return true;
}

bool MixerDeviceOpen() { return Device != 0; }

bool MixerOpenDevice() {
    if (Device) return true;
    if (!SubsystemUp) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        SubsystemUp = true;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = MixerRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 23 ms: shorter than a frame, so sounds are not late
    want.callback = AudioCallback;
    Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!Device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SubsystemUp = false;
        return false;
    }
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

void MixerCloseDevice() {
    if (Device) SDL_CloseAudioDevice(Device);
    Device = 0;
    if (SubsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SubsystemUp = false;
}

namespace {
int NewBuffer(std::vector<int16_t>&& stereoSamples) {
    DeviceLock lock;
    size_t slot = 0;
    while (slot < Buffers.size() && Buffers[slot].Used) slot++;
    if (slot == Buffers.size()) Buffers.emplace_back();
    Buffer& b = Buffers[slot];
    b = Buffer{};
    b.Used = true;
    b.Data = std::move(stereoSamples);
    b.Data.resize(b.Data.size() & ~size_t(1));
    b.Frames = static_cast<uint32_t>(b.Data.size() / 2);
    return static_cast<int>(slot);
}
}  // namespace

int MixerCreateBuffer(const std::vector<int16_t>& stereoSamples) {
    return NewBuffer(std::vector<int16_t>(stereoSamples));
}

int MixerLoadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return -1;
    std::streamoff size = in.tellg();
    if (size <= 0 || size > (1 << 28)) return -1;
    // The game's own format is read straight into the buffer.
    uint8_t head[4096];
    size_t headBytes = static_cast<size_t>(std::min<std::streamoff>(size, sizeof head));
    in.seekg(0);
    WavInfo w;
    if (in.read(reinterpret_cast<char*>(head), headBytes) && ParseWav(head, headBytes, size, w) && IsMixerFormat(w)) {
        if (ConvertedBytes(w) > MixerMaxBufferBytes) return -1;
        std::vector<int16_t> samples(w.DataBytes / 4 * 2);
        in.seekg(static_cast<std::streamoff>(w.DataAt));
        if (!in.read(reinterpret_cast<char*>(samples.data()), samples.size() * 2)) return -1;
        return NewBuffer(std::move(samples));
    }
    in.clear();
    std::vector<uint8_t> file(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(file.data()), size)) return -1;
    std::vector<int16_t> samples;
    if (!MixerDecodeWav(file.data(), file.size(), samples)) return -1;
    return NewBuffer(std::move(samples));
}

uint32_t MixerBufferFrames(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    return b ? b->Frames : 0;
}

void MixerFreeBuffer(int buffer) {
    DeviceLock lock;
    if (Buffer* b = Find(buffer)) *b = Buffer{};
}

void MixerFreeAll() {
    DeviceLock lock;
    Buffers.clear();
}

bool MixerSetVolume(int buffer, int32_t hundredthsDb) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    if (!b || hundredthsDb > 0 || hundredthsDb < -10000) return false;
    b->Volume = hundredthsDb;
    UpdateGains(*b);
    return true;
}

bool MixerSetPan(int buffer, int32_t pan) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    if (!b || pan < -10000 || pan > 10000) return false;
    b->Pan = pan;
    UpdateGains(*b);
    return true;
}

bool MixerSetPosition(int buffer, uint32_t byteOffset) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    uint32_t frame = byteOffset / 4;
    if (!b || (frame >= b->Frames && frame != 0)) return false;
    b->Pos = frame;
    return true;
}

uint32_t MixerGetPosition(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    return b ? b->Pos * 4 : 0;
}

bool MixerPlay(int buffer, bool loop) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    if (!b) return false;
    b->Loop = loop;
    b->Playing = b->Frames > 0;
    return true;
}

bool MixerStop(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    if (!b) return false;
    b->Playing = false;
    return true;
}

bool MixerIsPlaying(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    return b && b->Playing;
}

int32_t MixerGetVolume(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    return b ? b->Volume : 0;
}

int32_t MixerGetPan(int buffer) {
    DeviceLock lock;
    Buffer* b = Find(buffer);
    return b ? b->Pan : 0;
}

// Called by the device callback with the device locked, or directly by tests.
void MixerMix(int16_t* out, int frames) {
    if (frames <= 0) return;
    // Large enough for any device block; longer requests are mixed in pieces.
    constexpr int Chunk = 1024;
    int32_t acc[Chunk * 2];
    for (int done = 0; done < frames; done += Chunk) {
        int n = std::min(Chunk, frames - done);
        std::memset(acc, 0, sizeof(int32_t) * 2 * n);
        for (Buffer& b : Buffers) {
            if (!b.Used || !b.Playing) continue;
            int i = 0;
            while (i < n && b.Playing) {
                int run = static_cast<int>(std::min<uint32_t>(n - i, b.Frames - b.Pos));
                const int16_t* src = b.Data.data() + 2 * b.Pos;
                int32_t* dst = acc + 2 * i;
                const int32_t gl = b.GainL, gr = b.GainR;
                for (int k = 0; k < run; k++) {
                    dst[2 * k] += (src[2 * k] * gl) >> 15;
                    dst[2 * k + 1] += (src[2 * k + 1] * gr) >> 15;
                }
                i += run;
                b.Pos += run;
                if (b.Pos >= b.Frames) {
                    b.Pos = 0;  // a loop wraps without a gap; a single play ends at the start
                    if (!b.Loop) b.Playing = false;
                }
            }
        }
        int16_t* o = out + 2 * done;
        for (int k = 0; k < 2 * n; k++) o[k] = static_cast<int16_t>(std::clamp(acc[k], -32768, 32767));
    }
}
