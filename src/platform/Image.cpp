#include "platform/Image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace {
uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (Le16(p + 2) << 16); }
uint32_t Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
uint32_t Be32(const uint8_t* p) { return (Be16(p) << 16) | Be16(p + 2); }

enum class PictureKind { None, Bmp, Png, Jpeg };

// The kind of a BMP, PNG or JPEG file with the width and height its header
// gives; None for any other file or a header that does not say.
PictureKind PictureSize(const uint8_t* p, size_t n, uint64_t& w, uint64_t& h) {
    if (n >= 26 && p[0] == 'B' && p[1] == 'M') {
        uint32_t header = Le32(p + 14);
        if (header == 12) {
            w = Le16(p + 18);
            h = Le16(p + 20);
        } else {
            // Either may be negative (a top-down bitmap).
            w = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(Le32(p + 18)))));
            h = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(Le32(p + 22)))));
        }
        return PictureKind::Bmp;
    }
    if (n >= 24 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0 && std::memcmp(p + 12, "IHDR", 4) == 0) {
        w = Be32(p + 16);
        h = Be32(p + 20);
        return PictureKind::Png;
    }
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xD8) {
        // The markers up to the frame header, skipped the way the decoder skips them.
        size_t at = 2;
        for (;;) {
            while (at < n && p[at] != 0xFF) at++;
            while (at < n && p[at] == 0xFF) at++;
            if (at >= n) return PictureKind::None;
            uint8_t m = p[at++];
            if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) continue;  // no length
            if (m == 0xD9 || m == 0xDA || at + 2 > n) return PictureKind::None;
            size_t length = Be16(p + at);
            if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
                if (at + 7 > n) return PictureKind::None;
                h = Be16(p + at + 3);
                w = Be16(p + at + 5);
                return PictureKind::Jpeg;
            }
            at += length;
        }
    }
    return PictureKind::None;
}
}  // namespace

bool LoadPictureBytes(const void* data, size_t size, Surface& s) {
    // The size is known before anything is decoded, so a damaged header cannot
    // ask for gigabytes.
    // The decoder is the one for the header that was checked.
    uint64_t w = 0, h = 0;
    const PictureKind kind = PictureSize(static_cast<const uint8_t*>(data), size, w, h);
    if (kind == PictureKind::None || w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels) return false;
    SDL_RWops* in = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_Surface* raw = kind == PictureKind::Bmp   ? IMG_LoadBMP_RW(in)
                       : kind == PictureKind::Png ? IMG_LoadPNG_RW(in)
                                                  : IMG_LoadJPG_RW(in);
    SDL_RWclose(in);
    if (!raw) return false;
    // XBGR8888 is COLORREF (0x00BBGGRR) in memory.
    SDL_Surface* conv = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_XBGR8888, 0);
    SDL_FreeSurface(raw);
    if (!conv) return false;
    Surface pic;
    CreateSurface(pic, conv->w, conv->h);
    SDL_LockSurface(conv);
    for (int y = 0; y < conv->h; y++) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(conv->pixels) + y * conv->pitch);
        for (int x = 0; x < conv->w; x++) pic.Pixels[static_cast<size_t>(y) * conv->w + x] = row[x] & 0xFFFFFF;
    }
    SDL_UnlockSurface(conv);
    SDL_FreeSurface(conv);
    s.Width = pic.Width;
    s.Height = pic.Height;
    s.Pixels = std::move(pic.Pixels);
    return true;
}

bool LoadPictureFile(const std::string& path, Surface& s) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    std::streamoff size = in.tellg();
    if (size <= 0 || size > MaxPictureFileBytes) return false;
    std::vector<char> data(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(data.data(), size)) return false;
    return LoadPictureBytes(data.data(), data.size(), s);
}
