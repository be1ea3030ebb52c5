#include "graphics/Screenshot.h"

#include <cstdio>

#include "platform/Files.h"
#include "platform/GameFolders.h"
#include "platform/Image.h"
#include "shell/GameState.h"

void TakeScreenshot(const std::string& base, Integer quality) {
    const std::string name = base.empty() ? PlayerDataPath() + "/test" : base;
    // The picture is put together from our own surfaces rather than read back
    // from the screen: the field (with the pointer already drawn into it) over
    // the status bar, the row between them the window's black background.
    CreateSurface(LoadPicDC, 301, 378, RGB(0, 0, 0));
    BitBlt(LoadPicDC, 0, 0, 300, 300, Field, 0, 0, SRCCOPY);
    BitBlt(LoadPicDC, 0, 301, 300, 78, StatusField, 0, 0, SRCCOPY);
    SaveBmpFile(name + ".bmp", LoadPicDC);
    SaveJpegFile(name + ".jpg", LoadPicDC, quality);
    DeleteFileIfThere(name + ".bmp");
}

Integer FileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fclose(f);
    return -1;
}
