// The map generator's pixel passes. Each pass first reads its region into
// PixelBuffer, so the source and the destination may be the same surface.
#include "maps/DcEffects.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "shell/Basic.h"
#include "shell/Form1.h"

namespace {
// Channel c, column x (0..W), row y (0..H); column W and row H stay black.
std::vector<Integer> PixelBuffer;
int BufW, BufH;  // set by ReadPixels

inline Integer& Cell(int c, int x, int y) {
    return PixelBuffer[(static_cast<size_t>(y) * (BufW + 1) + x) * 3 + c];
}

inline void PutPixel(Surface& d, int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= d.Width || y >= d.Height) return;
    d.Pixels[static_cast<size_t>(y) * d.Width + x] = RGB(r, g, b);
}
}  // namespace

void ReadPixels(const Surface& dc, int W, int H) {
    BufW = W < 0 ? 0 : W;
    BufH = H < 0 ? 0 : H;
    PixelBuffer.assign(static_cast<size_t>(BufW + 1) * (BufH + 1) * 3, 0);
    for (int y = 0; y < BufH; y++)
        for (int x = 0; x < BufW; x++) {
            // Outside the picture the colour is invalid (-1), which splits into white.
            const uint32_t c = (x < dc.Width && y < dc.Height) ? dc.Pixels[static_cast<size_t>(y) * dc.Width + x]
                                                               : 0xFFFFFFFFu;
            Cell(0, x, y) = static_cast<Integer>(c & 0xFF);
            Cell(1, x, y) = static_cast<Integer>(((c & 0xFFFF00) / 256) & 0xFF);
            Cell(2, x, y) = static_cast<Integer>((c & 0xFF0000) / 65536);
        }
}

void Diffuse(const Surface& src, int W, int H, Surface& dst, int amount) {
    Randomize();
    ReadPixels(src, W, H);
    const Single a = static_cast<Single>(amount);
    int red = 0, green = 0, blue = 0;
    for (int y = 0; y <= BufH; y++)
        for (int x = 0; x <= BufW; x++) {
            const Single dx = std::fabs(Rnd() * a - 2);
            const Single dy = std::fabs(Rnd() * a - 2);
            const Long sx = Whole(static_cast<Single>(x) + dx);
            const Long sy = Whole(static_cast<Single>(y) + dy);
            if (sx >= 0 && sy >= 0 && sx <= BufW && sy <= BufH) {
                red = Cell(0, sx, sy);
                green = Cell(1, sx, sy);
                blue = Cell(2, sx, sy);
            }
            PutPixel(dst, x, y, red, green, blue);
        }
}

void Blur(const Surface& src, int W, int H, Surface& dst, int radius) {
    ReadPixels(src, W, H);
    const int side = 2 * radius + 1;
    const double cells = static_cast<double>(side) * side;
    for (int y = 0; y <= BufH; y++)
        for (int x = 0; x <= BufW; x++) {
            Integer sum[3] = {0, 0, 0};
            for (int j = -radius; j <= radius; j++) {
                const int yy = y + j;
                if (yy < 0 || yy > BufH) continue;
                for (int i = -radius; i <= radius; i++) {
                    const int xx = x + i;
                    if (xx < 0 || xx > BufW) continue;
                    for (int c = 0; c < 3; c++) sum[c] = static_cast<Integer>(sum[c] + Cell(c, xx, yy));
                }
            }
            PutPixel(dst, x, y, Whole(sum[0] / cells), Whole(sum[1] / cells), Whole(sum[2] / cells));
        }
}

void ScaleUp(const Surface& src, int W, int H, Surface& dst, int W2, int H2) {
    ReadPixels(src, W, H);
    if (BufW == 0 || BufH == 0) return;
    const double fx = static_cast<double>(W2) / BufW, fy = static_cast<double>(H2) / BufH;
    int y0 = 0;
    for (int i = 0; i < BufH; i++) {
        const int cy = Whole(fy * (i + 1));
        const int h = cy - y0;
        int x0 = 0;
        for (int j = 0; j < BufW; j++) {
            const int cx = Whole(fx * (j + 1));
            const int w = cx - x0;
            for (int r = 0; r < h; r++) {
                Integer left[3], right[3];
                for (int c = 0; c < 3; c++) {
                    const int tl = Cell(c, j, i), tr = Cell(c, j + 1, i);
                    const int bl = Cell(c, j, i + 1), br = Cell(c, j + 1, i + 1);
                    left[c] = static_cast<Integer>(Whole(tl + static_cast<double>(r) * (bl - tl) / h));
                    right[c] = static_cast<Integer>(Whole(tr + static_cast<double>(r) * (br - tr) / h));
                }
                for (int col = 0; col < w; col++) {
                    int v[3];
                    for (int c = 0; c < 3; c++) {
                        v[c] = Whole(std::fabs(left[c] + static_cast<double>(col) * (right[c] - left[c]) / w));
                        if (v[c] > 0xFF) v[c] = 0xFF;
                    }
                    PutPixel(dst, x0 + col, y0 + r, v[0], v[1], v[2]);
                }
            }
            x0 = cx;
        }
        y0 = cy;
        DoEvents();
    }
}
