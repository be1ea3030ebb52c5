// Writing pictures: 24-bit BMP, JPEG through libjpeg-turbo and PNG through
// SDL_image. Every file goes through WriteFileAtomic.
#include <SDL.h>
#include <SDL_image.h>
#include <turbojpeg.h>

#include <algorithm>

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
bool EncodeJpeg(const Surface& s, int quality, bool fullChroma, std::string& out) {
    if (s.Width <= 0 || s.Height <= 0) return false;
    tjhandle tj = tjInitCompress();
    if (!tj) return false;
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    // COLORREF (0x00BBGGRR) lies in memory as R, G, B and an unused byte.
    const int rc = tjCompress2(tj, reinterpret_cast<const unsigned char*>(s.Pixels.data()), s.Width, s.Width * 4,
                               s.Height, TJPF_RGBX, &jpeg, &size, fullChroma ? TJSAMP_444 : TJSAMP_420,
                               std::clamp(quality, 1, 100), TJFLAG_ACCURATEDCT);
    if (rc == 0) out.assign(reinterpret_cast<const char*>(jpeg), size);
    tjFree(jpeg);
    tjDestroy(tj);
    return rc == 0;
}
}  // namespace

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
