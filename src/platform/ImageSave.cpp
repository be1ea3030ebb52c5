// Writing pictures: 24-bit BMP, our own baseline JPEG encoder and PNG through
// SDL_image. Every file goes through WriteFileAtomic.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Files.h"
#include "platform/Image.h"

namespace {
void Put16LE(std::string& o, uint32_t v) {
    o.push_back(static_cast<char>(v & 0xFF));
    o.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32LE(std::string& o, uint32_t v) {
    Put16LE(o, v & 0xFFFF);
    Put16LE(o, v >> 16);
}
void Put16BE(std::string& o, uint32_t v) {
    o.push_back(static_cast<char>((v >> 8) & 0xFF));
    o.push_back(static_cast<char>(v & 0xFF));
}
}  // namespace

bool SaveBmpFile(const std::string& path, const Surface& s) {
    if (s.Width <= 0 || s.Height <= 0) return false;
    const uint32_t rowBytes = (static_cast<uint32_t>(s.Width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(s.Height);
    std::string o;
    o.reserve(54 + imageBytes);
    o += "BM";
    Put32LE(o, 54 + imageBytes);
    Put32LE(o, 0);
    Put32LE(o, 54);
    Put32LE(o, 40);
    Put32LE(o, static_cast<uint32_t>(s.Width));
    Put32LE(o, static_cast<uint32_t>(s.Height));  // positive: rows bottom-up
    Put16LE(o, 1);
    Put16LE(o, 24);
    Put32LE(o, 0);
    Put32LE(o, imageBytes);
    Put32LE(o, 2835);  // 72 dpi
    Put32LE(o, 2835);
    Put32LE(o, 0);
    Put32LE(o, 0);
    for (int y = s.Height - 1; y >= 0; y--) {
        const COLORREF* row = &s.Pixels[static_cast<size_t>(y) * s.Width];
        for (int x = 0; x < s.Width; x++) {
            o.push_back(static_cast<char>((row[x] >> 16) & 0xFF));  // blue
            o.push_back(static_cast<char>((row[x] >> 8) & 0xFF));   // green
            o.push_back(static_cast<char>(row[x] & 0xFF));          // red
        }
        for (uint32_t p = static_cast<uint32_t>(s.Width) * 3; p < rowBytes; p++) o.push_back(0);
    }
    return WriteFileAtomic(path, o);
}

// ------------------------------------------------------------------ JPEG

namespace {
const uint8_t ZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                            12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                            35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                            58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const uint8_t BaseLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                              14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                              18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                              49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const uint8_t BaseChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const uint8_t DcLumaBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const uint8_t DcChromaBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const uint8_t DcVals[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const uint8_t AcLumaBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const uint8_t AcLumaVals[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
    0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
    0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
    0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
const uint8_t AcChromaBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const uint8_t AcChromaVals[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
    0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
    0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
    0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
    0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
    0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
    0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

struct HuffTable {
    uint16_t Code[256] = {};
    uint8_t Size[256] = {};
};

HuffTable BuildHuff(const uint8_t* bits, const uint8_t* vals) {
    HuffTable t;
    uint16_t code = 0;
    int k = 0;
    for (int len = 1; len <= 16; len++) {
        for (int i = 0; i < bits[len - 1]; i++) {
            t.Code[vals[k]] = code++;
            t.Size[vals[k]] = static_cast<uint8_t>(len);
            k++;
        }
        code <<= 1;
    }
    return t;
}

struct BitWriter {
    std::string& Out;
    uint32_t Acc = 0;
    int Count = 0;
    void Put(uint32_t code, int size) {
        for (int i = size - 1; i >= 0; i--) {
            Acc = (Acc << 1) | ((code >> i) & 1);
            if (++Count == 8) {
                Out.push_back(static_cast<char>(Acc));
                if (Acc == 0xFF) Out.push_back(0);  // byte stuffing
                Acc = 0;
                Count = 0;
            }
        }
    }
    void Flush() {
        while (Count != 0) Put(1, 1);
    }
};

// Separable float DCT with a fixed cosine table: same input, same bytes.
struct Dct {
    float C[8][8];
    Dct() {
        for (int u = 0; u < 8; u++)
            for (int x = 0; x < 8; x++)
                C[u][x] = static_cast<float>((u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * M_PI / 16));
    }
    void Forward(const float in[64], float out[64]) const {
        float tmp[64];
        for (int y = 0; y < 8; y++)
            for (int u = 0; u < 8; u++) {
                float s = 0;
                for (int x = 0; x < 8; x++) s += C[u][x] * in[y * 8 + x];
                tmp[y * 8 + u] = s;
            }
        for (int u = 0; u < 8; u++)
            for (int v = 0; v < 8; v++) {
                float s = 0;
                for (int y = 0; y < 8; y++) s += C[v][y] * tmp[y * 8 + u];
                out[v * 8 + u] = s;
            }
    }
};

int Category(int v) {
    v = std::abs(v);
    int n = 0;
    while (v) {
        n++;
        v >>= 1;
    }
    return n;
}

void EncodeBlock(BitWriter& bw, const Dct& dct, const float block[64], const uint8_t q[64], int& prevDc,
                 const HuffTable& dc, const HuffTable& ac) {
    float coef[64];
    dct.Forward(block, coef);
    int z[64];
    for (int i = 0; i < 64; i++) z[i] = static_cast<int>(std::lround(coef[ZigZag[i]] / q[ZigZag[i]]));
    const int diff = z[0] - prevDc;
    prevDc = z[0];
    int cat = Category(diff);
    bw.Put(dc.Code[cat], dc.Size[cat]);
    if (cat) bw.Put(static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << cat) - 1), cat);
    int run = 0;
    for (int i = 1; i < 64; i++) {
        if (z[i] == 0) {
            run++;
            continue;
        }
        while (run > 15) {
            bw.Put(ac.Code[0xF0], ac.Size[0xF0]);
            run -= 16;
        }
        cat = Category(z[i]);
        const int sym = (run << 4) | cat;
        bw.Put(ac.Code[sym], ac.Size[sym]);
        bw.Put(static_cast<uint32_t>(z[i] < 0 ? z[i] - 1 : z[i]) & ((1u << cat) - 1), cat);
        run = 0;
    }
    if (run > 0) bw.Put(ac.Code[0x00], ac.Size[0x00]);
}

void ScaledTable(const uint8_t* base, int quality, uint8_t* out) {
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    for (int i = 0; i < 64; i++) out[i] = static_cast<uint8_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
}

void PutHuffSegment(std::string& o, int tableClassId, const uint8_t* bits, const uint8_t* vals, int n) {
    o += "\xFF\xC4";
    Put16BE(o, 2 + 1 + 16 + n);
    o.push_back(static_cast<char>(tableClassId));
    o.append(reinterpret_cast<const char*>(bits), 16);
    o.append(reinterpret_cast<const char*>(vals), n);
}
}  // namespace

bool EncodeJpeg(const Surface& s, int quality, bool fullChroma, std::string& out) {
    if (s.Width <= 0 || s.Height <= 0 || s.Width > 65535 || s.Height > 65535) return false;
    uint8_t ql[64], qc[64];
    ScaledTable(BaseLuma, quality, ql);
    ScaledTable(BaseChroma, quality, qc);

    const int w = s.Width, h = s.Height;
    // Colour planes, level-shifted.
    std::vector<float> Y(static_cast<size_t>(w) * h), Cb(Y.size()), Cr(Y.size());
    for (size_t i = 0; i < Y.size(); i++) {
        const float r = static_cast<float>(s.Pixels[i] & 0xFF), g = static_cast<float>((s.Pixels[i] >> 8) & 0xFF),
                    b = static_cast<float>((s.Pixels[i] >> 16) & 0xFF);
        Y[i] = 0.299f * r + 0.587f * g + 0.114f * b - 128.0f;
        Cb[i] = -0.168736f * r - 0.331264f * g + 0.5f * b;
        Cr[i] = 0.5f * r - 0.418688f * g - 0.081312f * b;
    }
    auto at = [&](const std::vector<float>& p, int x, int y) {
        return p[static_cast<size_t>(std::min(y, h - 1)) * w + std::min(x, w - 1)];
    };

    out.clear();
    out += "\xFF\xD8";
    out += "\xFF\xE0";
    Put16BE(out, 16);
    out.append("JFIF\0", 5);
    out += "\x01\x01";
    out.push_back(0);
    Put16BE(out, 1);
    Put16BE(out, 1);
    out.push_back(0);
    out.push_back(0);
    for (int t = 0; t < 2; t++) {
        out += "\xFF\xDB";
        Put16BE(out, 67);
        out.push_back(static_cast<char>(t));
        const uint8_t* q = t == 0 ? ql : qc;
        for (int i = 0; i < 64; i++) out.push_back(static_cast<char>(q[ZigZag[i]]));
    }
    out += "\xFF\xC0";
    Put16BE(out, 17);
    out.push_back(8);
    Put16BE(out, static_cast<uint32_t>(h));
    Put16BE(out, static_cast<uint32_t>(w));
    out.push_back(3);
    out += "\x01";
    out.push_back(static_cast<char>(fullChroma ? 0x11 : 0x22));
    out.push_back(0);
    out += "\x02\x11\x01\x03\x11\x01";
    PutHuffSegment(out, 0x00, DcLumaBits, DcVals, 12);
    PutHuffSegment(out, 0x10, AcLumaBits, AcLumaVals, 162);
    PutHuffSegment(out, 0x01, DcChromaBits, DcVals, 12);
    PutHuffSegment(out, 0x11, AcChromaBits, AcChromaVals, 162);
    out += "\xFF\xDA";
    Put16BE(out, 12);
    out += "\x03\x01";
    out.push_back(0x00);
    out += "\x02\x11\x03\x11";
    out.push_back(0);
    out.push_back(63);
    out.push_back(0);

    static const Dct dct;
    const HuffTable dcL = BuildHuff(DcLumaBits, DcVals), acL = BuildHuff(AcLumaBits, AcLumaVals);
    const HuffTable dcC = BuildHuff(DcChromaBits, DcVals), acC = BuildHuff(AcChromaBits, AcChromaVals);
    BitWriter bw{out};
    int dcY = 0, dcCb = 0, dcCr = 0;
    const int mcu = fullChroma ? 8 : 16;
    float block[64];
    for (int my = 0; my < h; my += mcu)
        for (int mx = 0; mx < w; mx += mcu) {
            for (int by = 0; by < mcu; by += 8)
                for (int bx = 0; bx < mcu; bx += 8) {
                    for (int y = 0; y < 8; y++)
                        for (int x = 0; x < 8; x++) block[y * 8 + x] = at(Y, mx + bx + x, my + by + y);
                    EncodeBlock(bw, dct, block, ql, dcY, dcL, acL);
                }
            for (int c = 0; c < 2; c++) {
                const std::vector<float>& p = c == 0 ? Cb : Cr;
                for (int y = 0; y < 8; y++)
                    for (int x = 0; x < 8; x++) {
                        if (fullChroma) {
                            block[y * 8 + x] = at(p, mx + x, my + y);
                        } else {
                            const int sx = mx + 2 * x, sy = my + 2 * y;
                            block[y * 8 + x] =
                                (at(p, sx, sy) + at(p, sx + 1, sy) + at(p, sx, sy + 1) + at(p, sx + 1, sy + 1)) / 4;
                        }
                    }
                EncodeBlock(bw, dct, block, qc, c == 0 ? dcCb : dcCr, dcC, acC);
            }
        }
    bw.Flush();
    out += "\xFF\xD9";
    return true;
}

bool SaveJpegFile(const std::string& path, const Surface& s, int quality, bool fullChroma) {
    std::string data;
    return EncodeJpeg(s, quality, fullChroma, data) && WriteFileAtomic(path, data);
}

// ------------------------------------------------------------------- PNG

namespace {
size_t GrowWrite(SDL_RWops* ctx, const void* ptr, size_t size, size_t num) {
    auto* buf = static_cast<std::string*>(ctx->hidden.unknown.data1);
    buf->append(static_cast<const char*>(ptr), size * num);
    return num;
}
Sint64 NoSize(SDL_RWops*) { return -1; }
Sint64 NoSeek(SDL_RWops*, Sint64, int) { return -1; }
size_t NoRead(SDL_RWops*, void*, size_t, size_t) { return 0; }
int CloseOnly(SDL_RWops* ctx) {
    SDL_FreeRW(ctx);
    return 0;
}
}  // namespace

bool SavePngFile(const std::string& path, const Surface& s, const std::vector<uint8_t>* alpha) {
    if (s.Width <= 0 || s.Height <= 0) return false;
    const size_t count = static_cast<size_t>(s.Width) * s.Height;
    if (alpha && alpha->size() != count) return false;
    const int bytes = alpha ? 4 : 3;
    SDL_Surface* surf = SDL_CreateRGBSurfaceWithFormat(0, s.Width, s.Height, bytes * 8,
                                                       alpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24);
    if (!surf) return false;
    SDL_LockSurface(surf);
    for (int y = 0; y < s.Height; y++) {
        auto* row = static_cast<uint8_t*>(surf->pixels) + static_cast<size_t>(y) * surf->pitch;
        for (int x = 0; x < s.Width; x++) {
            const size_t i = static_cast<size_t>(y) * s.Width + x;
            const COLORREF c = s.Pixels[i];
            row[x * bytes] = c & 0xFF;
            row[x * bytes + 1] = (c >> 8) & 0xFF;
            row[x * bytes + 2] = (c >> 16) & 0xFF;
            if (alpha) row[x * bytes + 3] = (*alpha)[i];
        }
    }
    SDL_UnlockSurface(surf);
    std::string data;
    SDL_RWops* rw = SDL_AllocRW();
    bool ok = false;
    if (rw) {
        rw->size = NoSize;
        rw->seek = NoSeek;
        rw->read = NoRead;
        rw->write = GrowWrite;
        rw->close = CloseOnly;
        rw->type = SDL_RWOPS_UNKNOWN;
        rw->hidden.unknown.data1 = &data;
        ok = IMG_SavePNG_RW(surf, rw, 1) == 0;
    }
    SDL_FreeSurface(surf);
    return ok && !data.empty() && WriteFileAtomic(path, data);
}
