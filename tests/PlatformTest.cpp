// The platform layer: surfaces, text, pictures, files, clock and the window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace fs = std::filesystem;

namespace {
// A fresh folder per test, removed afterwards.
struct TempDir {
    fs::path Path;
    TempDir() {
        char tmpl[] = "/tmp/dorvik-platform-XXXXXX";
        Path = mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(Path, fs::perms::all, ec);
        fs::remove_all(Path, ec);
    }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }
};

std::string Slurp(const std::string& path) {
    std::string s;
    ReadWholeFile(path, s);
    return s;
}

void Put(const std::string& path, const std::string& data) { ASSERT_TRUE(WriteFileAtomic(path, data)); }

void Noise(Surface& s, std::mt19937& rng) {
    for (auto& p : s.Pixels) p = rng() & 0xFFFFFF;
}

// GDI's copy, pixel by pixel: a pixel moves only when both its source and its
// destination lie inside their surfaces.
void ReferenceBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op) {
    Surface from = src;
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++) {
            int32_t s = GetPixel(from, sx + c, sy + r);
            int32_t d = GetPixel(dst, x + c, y + r);
            if (s < 0 || d < 0) continue;
            uint32_t v = op == SRCCOPY ? s : op == SRCAND ? (d & s) : (d | s);
            SetPixel(dst, x + c, y + r, v);
        }
}

COLORREF Mix(COLORREF s, COLORREF d, int a) {
    COLORREF out = 0;
    for (int ch = 0; ch < 24; ch += 8) {
        double v = (((s >> ch) & 0xFF) * a + ((d >> ch) & 0xFF) * (255.0 - a)) / 255.0;
        out |= static_cast<COLORREF>(std::lround(v)) << ch;
    }
    return out;
}
}  // namespace

// ------------------------------------------------------------------ surfaces

TEST(Surface, RasterOpsAndClippingMatchPixelModel) {
    std::mt19937 rng(7);
    Surface src, dst, expect;
    CreateSurface(src, 23, 17);
    for (int i = 0; i < 3000; i++) {
        Noise(src, rng);
        CreateSurface(dst, 19, 13);
        Noise(dst, rng);
        expect = dst;
        auto pick = [&](int lo, int hi) { return static_cast<int>(rng() % (hi - lo + 1)) + lo; };
        int x = pick(-25, 25), y = pick(-20, 20), w = pick(0, 30), h = pick(0, 30);
        int sx = pick(-25, 30), sy = pick(-20, 25);
        RasterOp op = static_cast<RasterOp>(i % 3);
        ReferenceBlt(expect, x, y, w, h, src, sx, sy, op);
        BitBlt(dst, x, y, w, h, src, sx, sy, op);
        ASSERT_EQ(dst.Pixels, expect.Pixels) << "op " << op << " to " << x << "," << y << " size " << w << "x" << h
                                             << " from " << sx << "," << sy;
    }
}

TEST(Surface, CopiesWithinOneSurfaceAndWholeRows) {
    std::mt19937 rng(3);
    Surface s;
    CreateSurface(s, 40, 30);
    for (int i = 0; i < 400; i++) {
        Noise(s, rng);
        Surface expect = s;
        int x = rng() % 20 - 5, y = rng() % 20 - 5, sx = rng() % 20 - 5, sy = rng() % 20 - 5;
        RasterOp op = static_cast<RasterOp>(i % 3);
        ReferenceBlt(expect, x, y, 30, 20, s, sx, sy, op);  // reads a snapshot of the source
        BitBlt(s, x, y, 30, 20, s, sx, sy, op);
        ASSERT_EQ(s.Pixels, expect.Pixels) << x << "," << y << " from " << sx << "," << sy << " op " << op;
    }
    // The full-width block copy between surfaces of the same width.
    Surface a, b;
    CreateSurface(a, 300, 300);
    CreateSurface(b, 300, 300, RGB(1, 2, 3));
    Noise(a, rng);
    EXPECT_TRUE(BitBlt(b, 0, 0, 300, 300, a, 0, 0, SRCCOPY));
    EXPECT_EQ(a.Pixels, b.Pixels);
    // Negative sizes draw nothing.
    Surface before = b;
    EXPECT_FALSE(BitBlt(b, 0, 0, -5, 5, a, 0, 0, SRCCOPY));
    EXPECT_EQ(b.Pixels, before.Pixels);
}

TEST(Surface, PixelsAndOutside) {
    Surface s;
    CreateSurface(s, 4, 3, RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(s, 0, 0), 0x1E140A);
    SetPixel(s, 3, 2, 0xFF123456);  // the top byte is not a colour
    EXPECT_EQ(GetPixel(s, 3, 2), 0x123456);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {100000, 100000}}) {
        EXPECT_EQ(GetPixel(s, x, y), CLR_INVALID);
        SetPixel(s, x, y, 0);  // ignored
    }
    Surface empty;
    EXPECT_EQ(GetPixel(empty, 0, 0), CLR_INVALID);
    Surface broken;  // a size without pixels must not be read
    broken.Width = broken.Height = 10;
    EXPECT_EQ(GetPixel(broken, 1, 1), CLR_INVALID);
    EXPECT_TRUE(BitBlt(broken, 0, 0, 5, 5, s, 0, 0, SRCCOPY));
}

TEST(Surface, LineToLeavesOutTheEndPoint) {
    Surface s;
    CreateSurface(s, 10, 10);
    s.PenColour = RGB(255, 255, 255);
    MoveTo(s, 1, 1);
    LineTo(s, 5, 1);
    for (int x = 0; x < 10; x++) EXPECT_EQ(GetPixel(s, x, 1), x >= 1 && x <= 4 ? 0xFFFFFF : 0) << x;
    EXPECT_EQ(s.PenX, 5);
    EXPECT_EQ(s.PenY, 1);
    LineTo(s, 5, 5);  // continues from the end of the last line, which it now draws
    for (int y = 1; y < 10; y++) EXPECT_EQ(GetPixel(s, 5, y), y <= 4 ? 0xFFFFFF : 0) << y;
    FillSurface(s, 0);
    MoveTo(s, 0, 0);
    LineTo(s, 4, 4);
    for (int i = 0; i < 4; i++) EXPECT_EQ(GetPixel(s, i, i), 0xFFFFFF);
    EXPECT_EQ(GetPixel(s, 4, 4), 0);
    FillSurface(s, 0);
    LineTo(s, 4, 4);  // zero length: nothing
    EXPECT_EQ(GetPixel(s, 4, 4), 0);
    // From far outside: only the part inside is drawn.
    MoveTo(s, -1000, 3);
    LineTo(s, 1000, 3);
    for (int x = 0; x < 10; x++) EXPECT_EQ(GetPixel(s, x, 3), 0xFFFFFF);
    MoveTo(s, -50, -50);
    LineTo(s, -10, 400);
    EXPECT_EQ(std::count(s.Pixels.begin(), s.Pixels.end(), 0xFFFFFFu), 10);
}

TEST(Surface, AlphaBlendValues) {
    Surface src, dst;
    CreateSurface(src, 1, 1, RGB(255, 0, 200));
    CreateSurface(dst, 1, 1, RGB(0, 255, 100));
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, 128));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(128, 127, 150));  // 50 %
    CreateSurface(dst, 1, 1, RGB(0, 255, 100));
    AlphaBlend(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, 141);  // 55 %
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(141, 114, 155));

    // Every width (vector blocks and tails) against the formula.
    std::mt19937 rng(11);
    for (int w = 1; w <= 41; w++) {
        int a = static_cast<int>(rng() % 256);
        Surface s, d;
        CreateSurface(s, w, 2);
        CreateSurface(d, w + 3, 2);
        Noise(s, rng);
        Noise(d, rng);
        Surface before = d;
        ASSERT_TRUE(AlphaBlend(d, 1, 0, w, 2, s, 0, 0, w, 2, a));
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < w + 3; x++) {
                COLORREF want = x >= 1 && x <= w ? Mix(s.Pixels[y * w + x - 1], before.Pixels[y * (w + 3) + x], a)
                                                 : before.Pixels[y * (w + 3) + x];
                ASSERT_EQ(static_cast<COLORREF>(GetPixel(d, x, y)), want) << "w " << w << " alpha " << a << " x " << x;
            }
    }
    // Alpha 0 keeps the destination, 255 copies the source.
    Surface s, d;
    CreateSurface(s, 8, 8);
    CreateSurface(d, 8, 8);
    Noise(s, rng);
    Noise(d, rng);
    Surface keep = d;
    AlphaBlend(d, 0, 0, 8, 8, s, 0, 0, 8, 8, 0);
    EXPECT_EQ(d.Pixels, keep.Pixels);
    AlphaBlend(d, 0, 0, 8, 8, s, 0, 0, 8, 8, 255);
    EXPECT_EQ(d.Pixels, s.Pixels);
}

TEST(Surface, AlphaBlendStretchAndBounds) {
    Surface src, dst;
    CreateSurface(src, 2, 1);
    src.Pixels = {RGB(255, 255, 255), RGB(0, 0, 255)};
    CreateSurface(dst, 4, 2);
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 4, 2, src, 0, 0, 2, 1, 255));
    EXPECT_EQ(dst.Pixels, (std::vector<COLORREF>{0xFFFFFF, 0xFFFFFF, 0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0xFF0000,
                                                  0xFF0000}));
    // Shrinking takes the pixel under each destination pixel's centre.
    CreateSurface(src, 4, 1);
    src.Pixels = {1, 2, 3, 4};
    CreateSurface(dst, 2, 1);
    AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, 255);
    EXPECT_EQ(dst.Pixels, (std::vector<COLORREF>{2, 4}));

    // The destination clips; a source rectangle outside the source fails.
    CreateSurface(src, 5, 5, RGB(200, 200, 200));
    CreateSurface(dst, 5, 5, 0);
    EXPECT_TRUE(AlphaBlend(dst, 3, -2, 5, 5, src, 0, 0, 5, 5, 128));
    EXPECT_EQ(GetPixel(dst, 2, 0), 0);
    EXPECT_EQ(GetPixel(dst, 3, 0), RGB(100, 100, 100));
    EXPECT_EQ(GetPixel(dst, 4, 2), RGB(100, 100, 100));
    EXPECT_EQ(GetPixel(dst, 4, 3), 0);
    Surface before = dst;
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, 1, 0, 5, 5, 128));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, -1, 0, 5, 5, 128));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, 0, 0, 5, 5, 256));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 0, 5, src, 0, 0, 5, 5, 128));
    EXPECT_EQ(dst.Pixels, before.Pixels);
    // Onto itself, overlapping: reads the source as it was.
    Surface self;
    CreateSurface(self, 4, 1);
    self.Pixels = {0, 0xFF, 0xFF, 0};
    AlphaBlend(self, 1, 0, 3, 1, self, 0, 0, 3, 1, 255);
    EXPECT_EQ(self.Pixels, (std::vector<COLORREF>{0, 0, 0xFF, 0xFF}));
}

// ---------------------------------------------------------------------- text

TEST(Text, DrawsInTheTextColourOverTheBackground) {
    Surface s;
    CreateSurface(s, 200, 40, RGB(0, 255, 0));
    s.TextColour = RGB(255, 0, 0);
    s.FontSize = 12;
    int w = TextWidth(s, "Dorvik 1.22");
    if (w == 0) GTEST_SKIP() << "no font";
    TextOut(s, 5, 4, "Dorvik 1.22");
    int full = 0, changed = 0, right = 0, bottom = 0;
    for (int y = 0; y < s.Height; y++)
        for (int x = 0; x < s.Width; x++) {
            COLORREF p = GetPixel(s, x, y);
            if (p == RGB(0, 255, 0)) continue;
            changed++;
            // Coverage blends text red over the green: r + g stays 255, no blue.
            ASSERT_EQ((p & 0xFF) + ((p >> 8) & 0xFF), 255u) << x << "," << y;
            ASSERT_EQ(p >> 16, 0u);
            if (p == RGB(255, 0, 0)) full++;
            EXPECT_GE(x, 5);
            EXPECT_GE(y, 4);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    EXPECT_GT(full, 20);
    EXPECT_LT(right, 5 + w);
    EXPECT_GT(right, 5 + w / 2);
    EXPECT_LT(bottom, 4 + 12 * 96 / 72 + 6);

    Surface b = s;
    b.FontBold = true;
    EXPECT_GT(TextWidth(b, "Dorvik 1.22"), w);
    b.FontSize = 24;
    EXPECT_GT(TextWidth(b, "Dorvik 1.22"), 2 * w - 10);
}

TEST(Text, OddInputsDrawSafely) {
    Surface s;
    CreateSurface(s, 30, 10);
    s.TextColour = RGB(255, 255, 255);
    EXPECT_EQ(TextWidth(s, ""), 0);
    TextOut(s, 0, 0, "");
    TextOut(s, -500, -3, "far to the left, partly above");
    TextOut(s, 25, 8, "partly outside");
    TextOut(s, 1 << 30, 1 << 30, "outside");
    TextOut(s, 0, 0, std::string_view("M\xfcller \xff", 9));  // single-byte code page text
    s.FontSize = 0;
    TextOut(s, 0, 0, "tiny");
    s.FontSize = -40;
    TextOut(s, 0, 0, "negative");
    Surface none;
    TextOut(none, 0, 0, "no pixels");
    SUCCEED();
}

// ------------------------------------------------------------------ pictures

TEST(Picture, LoadsBmpAndJpeg) {
    TempDir dir;
    // A 3 x 2 24-bit bitmap written by hand: rows bottom-up, padded to 4 bytes.
    const COLORREF pix[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                {RGB(1, 2, 3), RGB(250, 251, 252), RGB(128, 64, 32)}};
    std::string bmp;
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; i++) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const int rowBytes = 12, dataSize = rowBytes * 2;
    bmp += "BM";
    le(54 + dataSize, 4);
    le(0, 4);
    le(54, 4);
    le(40, 4);
    le(3, 4);
    le(2, 4);
    le(1, 2);
    le(24, 2);
    le(0, 4);
    le(dataSize, 4);
    le(2835, 4);
    le(2835, 4);
    le(0, 4);
    le(0, 4);
    for (int y = 1; y >= 0; y--) {
        for (int x = 0; x < 3; x++) {
            COLORREF c = pix[y][x];
            bmp += static_cast<char>((c >> 16) & 0xFF);  // blue, green, red
            bmp += static_cast<char>((c >> 8) & 0xFF);
            bmp += static_cast<char>(c & 0xFF);
        }
        bmp += std::string(3, '\0');
    }
    Put(dir / "t.bmp", bmp);
    Surface s;
    ASSERT_TRUE(LoadPictureFile(dir / "t.bmp", s));
    ASSERT_EQ(s.Width, 3);
    ASSERT_EQ(s.Height, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) EXPECT_EQ(static_cast<COLORREF>(GetPixel(s, x, y)), pix[y][x]) << x << "," << y;

    // A missing or broken file leaves the surface as it was.
    EXPECT_FALSE(LoadPictureFile(dir / "none.jpg", s));
    Put(dir / "broken.jpg", "\xff\xd8 not really");
    EXPECT_FALSE(LoadPictureFile(dir / "broken.jpg", s));
    EXPECT_EQ(s.Width, 3);
    EXPECT_EQ(GetPixel(s, 2, 0), RGB(0, 0, 255));

    // JPEG made from a two-colour bitmap by ImageMagick.
    std::string cmd = "convert -size 16x16 xc:'rgb(200,40,40)' -fill 'rgb(40,40,200)' -draw 'rectangle 8,0 15,15' " +
                      dir / "t.jpg" + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "ImageMagick missing";
    ASSERT_TRUE(LoadPictureFile(dir / "t.jpg", s));
    ASSERT_EQ(s.Width, 16);
    auto near = [](int32_t p, int r, int g, int b) {
        return std::abs((p & 0xFF) - r) < 12 && std::abs(((p >> 8) & 0xFF) - g) < 12 && std::abs((p >> 16) - b) < 12;
    };
    EXPECT_TRUE(near(GetPixel(s, 2, 8), 200, 40, 40)) << std::hex << GetPixel(s, 2, 8);
    EXPECT_TRUE(near(GetPixel(s, 13, 8), 40, 40, 200)) << std::hex << GetPixel(s, 13, 8);
}

// --------------------------------------------------------------------- files

TEST(Files, AtomicReplacementKeepsTheOldFileOnFailure) {
    TempDir dir;
    const std::string target = dir / "Options.txt";
    Put(target, "old\r\n");
    Put(target, "new\r\n");
    EXPECT_EQ(Slurp(target), "new\r\n");

    // The temporary file cannot be created.
    const std::string tmp = target + ".tmp" + std::to_string(getpid());
    fs::create_directory(tmp);
    EXPECT_FALSE(WriteFileAtomic(target, "lost"));
    EXPECT_EQ(Slurp(target), "new\r\n");
    fs::remove(tmp);

    // The write fails half way (file size limit reached).
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    bool ok = WriteFileAtomic(target, std::string(5000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Slurp(target), "new\r\n");
    EXPECT_FALSE(fs::exists(tmp));

    // The target folder does not exist; the target is a folder.
    EXPECT_FALSE(WriteFileAtomic(dir / "missing/Options.txt", "x"));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(WriteFileAtomic(dir / "folder", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(fs::exists(tmp));

    // Copy goes through the same replacement.
    EXPECT_TRUE(CopyFileOver(target, dir / "copy.txt"));
    EXPECT_EQ(Slurp(dir / "copy.txt"), "new\r\n");
    EXPECT_FALSE(CopyFileOver(dir / "nothing.txt", dir / "copy.txt"));
    EXPECT_EQ(Slurp(dir / "copy.txt"), "new\r\n");
    EXPECT_TRUE(DeleteFileIfThere(dir / "copy.txt"));
    EXPECT_FALSE(FileExistsOnDisk(dir / "copy.txt"));
    std::string out;
    EXPECT_FALSE(ReadWholeFile(dir / "folder", out));
}

TEST(Files, PathsIgnoreCaseAndLinesSplit) {
    TempDir dir;
    fs::create_directories(dir.Path / "OtherFiles");
    fs::create_directories(dir.Path / "Pictures");
    Put(dir / "OtherFiles/Options.txt", "a\r\nb\nc\rd");
    SetAppPath(dir.Path.string());
    EXPECT_EQ(GamePath("\\otherfiles\\options.TXT"), dir / "OtherFiles/Options.txt");
    EXPECT_EQ(GamePath("\\OtherFiles\\Options.txt"), dir / "OtherFiles/Options.txt");
    // A file still to be written keeps its name in the folder as it is on disk.
    EXPECT_EQ(GamePath("\\OTHERFILES\\New.txt"), dir / "OtherFiles/New.txt");
    EXPECT_EQ(GamePath("\\nowhere\\Map01.bmp"), dir / "nowhere/Map01.bmp");
    EXPECT_EQ(ResolveCase(dir / "pictures"), dir / "Pictures");
    // The exact name wins over another spelling.
    Put(dir / "OtherFiles/options.txt", "other");
    EXPECT_EQ(GamePath("\\OtherFiles\\options.txt"), dir / "OtherFiles/options.txt");

    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir / "OtherFiles/Options.txt", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    Put(dir / "two.txt", "\r\n\r\n");
    ASSERT_TRUE(ReadTextLines(dir / "two.txt", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(ReadTextLines(dir / "absent.txt", lines));
}

TEST(Files, MemoryFigures) {
    MemoryStatus m = ParseMemInfo(
        "MemTotal:         524288 kB\nMemFree:           10000 kB\nMemAvailable:     204800 kB\n"
        "HugePages_Total:       0\nHugepagesize:       2048 kB\n");
    EXPECT_EQ(m.TotalPhys, 512ull << 20);
    EXPECT_EQ(m.AvailPhys, 200ull << 20);
    EXPECT_EQ(m.MemoryLoad, 61u);
    // Older kernels: free + buffers + cache.
    m = ParseMemInfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n");
    EXPECT_EQ(m.AvailPhys, 400u * 1024);
    EXPECT_EQ(m.MemoryLoad, 60u);
    m = ParseMemInfo("garbage");
    EXPECT_EQ(m.TotalPhys, 0u);
    EXPECT_EQ(m.MemoryLoad, 0u);

    m = QueryMemoryStatus();
    EXPECT_GT(m.TotalPhys, 0u);
    EXPECT_GT(m.AvailPhys, 0u);
    EXPECT_LE(m.AvailPhys, m.TotalPhys);
    EXPECT_LE(m.MemoryLoad, 100u);
}

// --------------------------------------------------------------------- clock

TEST(Clock, TestClockAndDate) {
    UseTestClock(true, 5000);
    EXPECT_EQ(GetTickCount(), 5000u);
    AdvanceTestClock(30);
    EXPECT_EQ(GetTickCount(), 5030u);
    WaitUntilTickPasses(5060);
    EXPECT_EQ(GetTickCount(), 5061u);
    WaitUntilTickPasses(5000);  // already past
    EXPECT_EQ(GetTickCount(), 5061u);
    UseTestClock(false);

    SetTestDate({2026, 1, 1});
    EXPECT_EQ(GetLocalDate().Year, 2026);
    EXPECT_EQ(GetLocalDate().Day, 1);
    SetTestDate({0, 0, 0});
    LocalDate d = GetLocalDate();
    EXPECT_GE(d.Year, 2024);
    EXPECT_GE(d.Month, 1);
    EXPECT_LE(d.Month, 12);
}

TEST(Clock, PacingSleepsInsteadOfSpinning) {
    UseTestClock(false);
    uint32_t start = GetTickCount();
    std::clock_t cpu0 = std::clock();
    auto t0 = std::chrono::steady_clock::now();
    WaitUntilTickPasses(start + 100);
    double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    double cpu = 1000.0 * (std::clock() - cpu0) / CLOCKS_PER_SEC;
    EXPECT_GT(GetTickCount(), start + 100);
    EXPECT_GE(wall, 99.0);
    EXPECT_LT(wall, 1000.0);
    EXPECT_LT(cpu, 30.0);
}

// -------------------------------------------------------------------- window

namespace {
struct Seen {
    std::vector<int> Down, Up, Buttons, Released;
    std::string Text;
    int Closes = 0;
} Got;

void InstallRecorder() {
    Got = Seen{};
    WindowHandlers h;
    h.KeyDown = [](int k) { Got.Down.push_back(k); };
    h.KeyUp = [](int k) { Got.Up.push_back(k); };
    h.MouseDown = [](int b) { Got.Buttons.push_back(b); };
    h.MouseUp = [](int b) { Got.Released.push_back(b); };
    h.TextInput = [](const char* t) { Got.Text += t; };
    h.Close = [] { Got.Closes++; };
    SetWindowHandlers(h);
}

// Sets an environment variable for the life of the object.
struct EnvVar {
    std::string Name, Old;
    bool Had;
    EnvVar(const char* name, const char* value) : Name(name) {
        const char* v = std::getenv(name);
        Had = v != nullptr;
        if (Had) Old = v;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvVar() {
        if (Had) setenv(Name.c_str(), Old.c_str(), 1);
        else unsetenv(Name.c_str());
    }
};
}  // namespace

TEST(Window, WithoutAWindowEverythingIsHarmless) {
    CloseWindow();
    InstallRecorder();
    EXPECT_FALSE(WindowIsOpen());
    Surface f, st;
    CreateSurface(f, 300, 300);
    CreateSurface(st, 300, 78);
    PresentWindow(f, 0, 0, st, 0, 301);
    ProcessWindowEvents();
    ConfineMouse(0, 0, 300, 300);
    ConfineMouse(0, 0, 0, 0);
    StartTextInput();
    StopTextInput();
    EXPECT_FALSE(SetWindowFullScreen(true, 640, 480));
    TestPushKey("A", true);
    TestPushQuit();
    EXPECT_TRUE(Got.Down.empty());
    EXPECT_EQ(Got.Closes, 0);

    TestSetMouse(123, 45);
    int x = 0, y = 0;
    GetMouseInClient(x, y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 45);
    TestReleaseAllKeys();
    TestSetKey(17, true);
    TestSetKey(200, true);
    TestSetKey(300, true);  // ignored
    uint8_t keys[256];
    ReadKeyboardScanCodes(keys);
    EXPECT_EQ(keys[17], 0x80);
    EXPECT_EQ(keys[200], 0x80);
    EXPECT_EQ(std::count(keys, keys + 256, 0), 254);
    TestReleaseAllKeys();

    int before = TestMessageBoxCount();
    EXPECT_FALSE(ShowMessageBox("Dorvik Error!", "Cannot activate", MB_OK_EXCLAMATION));
    EXPECT_EQ(TestMessageBoxCount(), before + 1);
    EXPECT_EQ(TestLastMessageBoxText(), "Cannot activate");

    // No display at all: a clear reason, no crash.
    EnvVar driver("SDL_VIDEODRIVER", nullptr), display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(OpenWindow("Dorvik", 300, 379));
    EXPECT_NE(WindowError().find("DISPLAY"), std::string::npos) << WindowError();
    EXPECT_FALSE(WindowIsOpen());
}

TEST(Window, KeyTranslations) {
    // Virtual keys as the window's key events report them.
    EXPECT_EQ(TestVirtualKeyOf("A"), 65);
    EXPECT_EQ(TestVirtualKeyOf("Q"), 81);
    EXPECT_EQ(TestVirtualKeyOf("X"), 88);
    EXPECT_EQ(TestVirtualKeyOf("0"), 48);
    EXPECT_EQ(TestVirtualKeyOf("Left Ctrl"), 17);
    EXPECT_EQ(TestVirtualKeyOf("Right Ctrl"), 17);
    EXPECT_EQ(TestVirtualKeyOf("Backspace"), 8);
    EXPECT_EQ(TestVirtualKeyOf("Return"), 13);
    EXPECT_EQ(TestVirtualKeyOf("Keypad Enter"), 13);
    EXPECT_EQ(TestVirtualKeyOf("Escape"), 27);
    EXPECT_EQ(TestVirtualKeyOf("Space"), 32);
    EXPECT_EQ(TestVirtualKeyOf("Left"), 37);
    EXPECT_EQ(TestVirtualKeyOf("Down"), 40);
    EXPECT_EQ(TestVirtualKeyOf("Keypad +"), 107);
    EXPECT_EQ(TestVirtualKeyOf("Keypad -"), 109);
    EXPECT_EQ(TestVirtualKeyOf("F1"), 112);
    // DirectInput scan codes of the keyboard state.
    const std::pair<const char*, int> scan[] = {
        {"Escape", 1},     {"1", 2},           {"0", 11},           {"Q", 16},          {"W", 17},
        {"P", 25},         {"Return", 28},     {"Left Ctrl", 29},   {"A", 30},          {"S", 31},
        {"D", 32},         {"L", 38},          {"Left Shift", 42},  {"Z", 44},          {"X", 45},
        {"M", 50},         {"Space", 57},      {"F1", 59},          {"F10", 68},        {"Keypad 7", 71},
        {"Keypad -", 74},  {"Keypad +", 78},   {"Keypad 0", 82},    {"F12", 88},        {"Keypad Enter", 156},
        {"Right Ctrl", 157}, {"Right Alt", 184}, {"Home", 199},     {"Up", 200},        {"PageUp", 201},
        {"Left", 203},     {"Right", 205},     {"End", 207},        {"Down", 208},      {"Insert", 210},
        {"Delete", 211},
    };
    for (auto [name, code] : scan) EXPECT_EQ(TestScanCodeOf(name), code) << name;
    EXPECT_EQ(TestScanCodeOf("no such key"), -1);
}

TEST(Window, DummyWindowPresentsAndDispatches) {
    const char* drv = std::getenv("SDL_VIDEODRIVER");
    if (!drv || std::string(drv) != "dummy") GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    // Without DISPLAY, D-Bus does not try to reach a session through X (and
    // leak doing so).
    EnvVar render("SDL_RENDER_DRIVER", "software"), display("DISPLAY", nullptr);
    InstallRecorder();
    ASSERT_TRUE(OpenWindow("Dorvik - test", 300, 379)) << WindowError();
    EXPECT_EQ(GetWindowCaption(), "Dorvik - test");
    SetWindowCaption("Other");
    EXPECT_EQ(GetWindowCaption(), "Other");

    Surface field, status;
    CreateSurface(field, 300, 300, RGB(10, 200, 30));
    CreateSurface(status, 300, 78, RGB(250, 5, 7));
    SetPixel(field, 299, 299, RGB(1, 2, 3));
    PresentWindow(field, 0, 0, status, 0, 301);
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(TestReadScreen(px, w, h));
    ASSERT_EQ(w, 300);
    ASSERT_EQ(h, 379);
    EXPECT_EQ(px[0], RGB(10, 200, 30));
    EXPECT_EQ(px[299 * 300 + 299], RGB(1, 2, 3));
    EXPECT_EQ(px[300 * 300 + 5], 0u);  // the row between field and status bar
    EXPECT_EQ(px[301 * 300], RGB(250, 5, 7));
    EXPECT_EQ(px[378 * 300 + 299], RGB(250, 5, 7));

    // Full screen: 640 x 480, black around the field at its new place.
    ASSERT_TRUE(SetWindowFullScreen(true, 640, 480)) << WindowError();
    {
        PresentWindow(field, 170, 50, status, 170, 351);
        ASSERT_TRUE(TestReadScreen(px, w, h));
        ASSERT_GE(w, 640);
        auto at = [&](int lx, int ly) {  // logical point to the scaled screen
            double sc = std::min(w / 640.0, h / 480.0);
            int ox = static_cast<int>((w - 640 * sc) / 2), oy = static_cast<int>((h - 480 * sc) / 2);
            return px[static_cast<size_t>(oy + (ly + 0.5) * sc) * w + static_cast<size_t>(ox + (lx + 0.5) * sc)];
        };
        EXPECT_EQ(at(320, 200), RGB(10, 200, 30));
        EXPECT_EQ(at(320, 400), RGB(250, 5, 7));
        EXPECT_EQ(at(100, 200), 0u);
        EXPECT_EQ(at(500, 20), 0u);
        EXPECT_TRUE(SetWindowFullScreen(false, 300, 379));
        PresentWindow(field, 0, 0, status, 0, 301);
        ASSERT_TRUE(TestReadScreen(px, w, h));
        EXPECT_EQ(w, 300);
        EXPECT_EQ(h, 379);
    }

    // Events reach the handlers: keys as virtual keys, buttons over the field only.
    TestPushKey("W", true);
    TestPushKey("Left Ctrl", true);
    TestPushKey("W", false);
    TestPushMouseButton(1, true, 150, 150);
    TestPushMouseButton(2, true, 150, 340);  // over the status bar: not the field's
    TestPushMouseButton(2, false, 150, 340);
    TestPushMouseButton(4, true, 0, 299);
    TestPushQuit();
    ProcessWindowEvents();
    EXPECT_EQ(Got.Down, (std::vector<int>{87, 17}));
    EXPECT_EQ(Got.Up, (std::vector<int>{87}));
    EXPECT_EQ(Got.Buttons, (std::vector<int>{1, 4}));
    EXPECT_EQ(Got.Released, (std::vector<int>{2}));
    EXPECT_EQ(Got.Closes, 1);

    // The test feed still counts with a window open.
    TestSetKey(30, true);
    uint8_t keys[256];
    ReadKeyboardScanCodes(keys);
    EXPECT_EQ(keys[30], 0x80);
    TestReleaseAllKeys();
    ConfineMouse(0, 0, 300, 300);
    ConfineMouse(0, 0, 0, 0);
    CloseWindow();
    EXPECT_FALSE(WindowIsOpen());
}

TEST(Window, RealWindowUnderX) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    CloseWindow();
    // In a child process: the X libraries keep allocations past their
    // unloading, which a leak checker at exit would blame on us.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        if (!OpenWindow("Dorvik - X", 300, 379)) _exit(2);
        Surface field, status;
        CreateSurface(field, 300, 300, RGB(90, 80, 70));
        CreateSurface(status, 300, 78, RGB(7, 8, 9));
        for (int i = 0; i < 3; i++) {
            PresentWindow(field, 0, 0, status, 0, 301);
            ProcessWindowEvents();
        }
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!TestReadScreen(px, w, h) || w != 300 || h != 379) _exit(3);
        if (px[150 * 300 + 150] != RGB(90, 80, 70) || px[350 * 300 + 150] != RGB(7, 8, 9)) _exit(4);
        CloseWindow();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no window, 3: no picture, 4: wrong pixels";
}
