// Writes every picture of the game and the contact sheet.
#include "Pictures.h"

#include <algorithm>
#include <cstdio>

#include "Art.h"
#include "platform/Image.h"

namespace {
bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsPhoto(const std::string& file) { return file.rfind("Map0", 0) == 0; }

// Every picture at 2x on grey with its file name, in rows.
bool WriteContactSheet(const PictureList& pics, const std::string& path) {
    const int margin = 12, labelH = 12;
    int width = 3100;
    for (const Picture& p : pics) width = std::max(width, p.Pic.Width * 2 + 2 * margin);
    struct Place {
        int X, Y;
    };
    std::vector<Place> places;
    int x = margin, y = margin, rowH = 0;
    for (const Picture& p : pics) {
        const int w = std::max(p.Pic.Width * 2, PixelTextWidth(p.File) + 4);
        const int h = p.Pic.Height * 2 + labelH;
        if (x + w > width - margin && x > margin) {
            x = margin;
            y += rowH + margin;
            rowH = 0;
        }
        places.push_back({x, y});
        x += w + margin * 2;
        rowH = std::max(rowH, h);
    }
    Surface sheet = Blank(width, y + rowH + margin, RGB(128, 128, 128));
    for (size_t i = 0; i < pics.size(); i++) {
        const Surface& p = pics[i].Pic;
        const int px = places[i].X, py = places[i].Y;
        PixelText(sheet, px, py, pics[i].File, RGB(255, 255, 255));
        for (int yy = 0; yy < p.Height * 2; yy++)
            for (int xx = 0; xx < p.Width * 2; xx++)
                SetPixel(sheet, px + xx, py + labelH + yy, p.Pixels[static_cast<size_t>(yy / 2) * p.Width + xx / 2]);
    }
    return SavePngFile(path, sheet);
}
}  // namespace

bool GeneratePictures(const std::string& picturesDir, const std::string& contactSheet) {
    PictureList pics;
    DrawScreens(pics);
    DrawSoldiers(pics);
    DrawCreatures(pics);
    DrawEffects(pics);
    DrawTerrain(pics);
    bool ok = true;
    for (const Picture& p : pics) {
        const std::string path = picturesDir + "/" + p.File;
        bool saved;
        if (EndsWith(p.File, ".bmp")) saved = SaveBmpFile(path, p.Pic);
        // Photographs as photographs; everything else exact enough to keep the masks clean.
        else if (IsPhoto(p.File)) saved = SaveJpegFile(path, p.Pic, 92, false);
        else saved = SaveJpegFile(path, p.Pic, 100, true);
        if (!saved) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    if (!contactSheet.empty() && !WriteContactSheet(pics, contactSheet)) {
        std::fprintf(stderr, "cannot write %s\n", contactSheet.c_str());
        ok = false;
    }
    return ok;
}
