#include "platform/Image.h"

#include <SDL.h>
#include <SDL_image.h>

bool LoadPictureFile(const std::string& path, Surface& s) {
    SDL_Surface* raw = IMG_Load(path.c_str());
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
