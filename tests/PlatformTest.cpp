// The platform layer: surfaces, text, pictures, files, clock and the window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <tuple>
#include <string>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
void Noise(Surface& s, std::mt19937& rng) {
    for (auto& p : s.Pixels) p = rng() & 0xFFFFFF;
}

// GDI's copy, pixel by pixel from a snapshot of the source: a pixel moves only
// when both its source and its destination lie inside their surfaces.
void ReferenceBlt(Surface& dst, int x, int y, int w, int h, Surface from, int sx, int sy, RasterOp op) {
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++) {
            int32_t s = GetPixel(from, sx + c, sy + r), d = GetPixel(dst, x + c, y + r);
            if (s >= 0 && d >= 0) SetPixel(dst, x + c, y + r, op == SRCCOPY ? s : op == SRCAND ? (d & s) : (d | s));
        }
}

COLORREF Mix(COLORREF s, COLORREF d, int a) {
    COLORREF out = 0;
    for (int ch = 0; ch < 24; ch += 8)
        out |= static_cast<COLORREF>(std::lround((((s >> ch) & 0xFF) * a + ((d >> ch) & 0xFF) * (255.0 - a)) / 255.0))
               << ch;
    return out;
}
}  // namespace

// ------------------------------------------------------------------ surfaces

TEST(Surface, RasterOpsAndClippingMatchPixelModel) {
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return static_cast<int>(rng() % (hi - lo + 1)) + lo; };
    Surface src, dst, expect;
    CreateSurface(src, 23, 17);
    for (int i = 0; i < 3000; i++) {
        Noise(src, rng);
        CreateSurface(dst, 19, 13);
        Noise(dst, rng);
        expect = dst;
        int x = pick(-25, 25), y = pick(-20, 20), w = pick(0, 30), h = pick(0, 30), sx = pick(-25, 30),
            sy = pick(-20, 25);
        RasterOp op = static_cast<RasterOp>(i % 3);
        ReferenceBlt(expect, x, y, w, h, src, sx, sy, op);
        BitBlt(dst, x, y, w, h, src, sx, sy, op);
        ASSERT_EQ(dst.Pixels, expect.Pixels) << op << " to " << x << "," << y << " " << w << "x" << h << " from " << sx
                                             << "," << sy;
    }
    // Within one surface, overlapping in every direction.
    for (int i = 0; i < 400; i++) {
        Noise(dst, rng);
        expect = dst;
        int x = pick(-5, 10), y = pick(-5, 10), sx = pick(-5, 10), sy = pick(-5, 10);
        RasterOp op = static_cast<RasterOp>(i % 3);
        ReferenceBlt(expect, x, y, 15, 10, dst, sx, sy, op);
        BitBlt(dst, x, y, 15, 10, dst, sx, sy, op);
        ASSERT_EQ(dst.Pixels, expect.Pixels) << x << "," << y << " from " << sx << "," << sy << " op " << op;
    }
    // Negative sizes draw nothing.
    expect = dst;
    EXPECT_FALSE(BitBlt(dst, 0, 0, -5, 5, src, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.Pixels, expect.Pixels);
}

TEST(Surface, PixelsAndLines) {
    Surface s;
    CreateSurface(s, 10, 10, RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(s, 0, 0), 0x1E140A);
    SetPixel(s, 9, 9, 0xFF123456);  // the top byte is not a colour
    EXPECT_EQ(GetPixel(s, 9, 9), 0x123456);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {10, 0}, {0, 10}}) EXPECT_EQ(GetPixel(s, x, y), CLR_INVALID);
    Surface broken;  // a size without pixels is never read
    broken.Width = broken.Height = 10;
    EXPECT_EQ(GetPixel(broken, 1, 1), CLR_INVALID);
    BitBlt(broken, 0, 0, 5, 5, s, 0, 0, SRCCOPY);

    // Lines leave out their end point and continue from it.
    FillSurface(s, 0);
    s.PenColour = 0xFFFFFF;
    MoveTo(s, 1, 1);
    LineTo(s, 5, 1);
    LineTo(s, 5, 5);
    LineTo(s, 5, 5);  // zero length: nothing
    for (int x = 0; x < 10; x++) EXPECT_EQ(GetPixel(s, x, 1), x >= 1 && x <= 5 ? 0xFFFFFF : 0) << x;
    for (int y = 2; y < 10; y++) EXPECT_EQ(GetPixel(s, 5, y), y <= 4 ? 0xFFFFFF : 0) << y;
    EXPECT_EQ(s.PenX, 5);
    EXPECT_EQ(s.PenY, 5);
    FillSurface(s, 0);
    MoveTo(s, -1000, 3);  // from far outside only the inside part is drawn
    LineTo(s, 1000, 3);
    LineTo(s, 2000, 400);
    EXPECT_EQ(std::count(s.Pixels.begin(), s.Pixels.end(), 0xFFFFFFu), 10);
}

TEST(Surface, AlphaBlendValues) {
    Surface src, dst;
    CreateSurface(src, 1, 1, RGB(255, 0, 200));
    CreateSurface(dst, 1, 1, RGB(0, 255, 100));
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, 128));  // 50 %
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(128, 127, 150));
    CreateSurface(dst, 1, 1, RGB(0, 255, 100));
    AlphaBlend(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, 141);  // 55 %
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(141, 114, 155));

    // Every width (vector blocks and their tails) against the formula.
    std::mt19937 rng(11);
    for (int w = 1; w <= 41; w++) {
        int a = w == 1 ? 0 : w == 2 ? 255 : static_cast<int>(rng() % 256);
        Surface s, d;
        CreateSurface(s, w, 2);
        CreateSurface(d, w + 3, 2);
        Noise(s, rng);
        Noise(d, rng);
        Surface before = d;
        ASSERT_TRUE(AlphaBlend(d, 1, 0, w, 2, s, 0, 0, w, 2, a));
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < w + 3; x++) {
                COLORREF old = before.Pixels[y * (w + 3) + x];
                COLORREF want = x >= 1 && x <= w ? Mix(s.Pixels[y * w + x - 1], old, a) : old;
                ASSERT_EQ(static_cast<COLORREF>(GetPixel(d, x, y)), want) << "w " << w << " alpha " << a << " x " << x;
            }
    }
}

TEST(Surface, AlphaBlendStretchAndBounds) {
    Surface src, dst;
    CreateSurface(src, 2, 1);
    src.Pixels = {1, 2};
    CreateSurface(dst, 4, 2);
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 4, 2, src, 0, 0, 2, 1, 255));
    EXPECT_EQ(dst.Pixels, (std::vector<COLORREF>{1, 1, 2, 2, 1, 1, 2, 2}));
    CreateSurface(src, 4, 1);  // shrinking takes the pixel under each centre
    src.Pixels = {1, 2, 3, 4};
    CreateSurface(dst, 2, 1);
    AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, 255);
    EXPECT_EQ(dst.Pixels, (std::vector<COLORREF>{2, 4}));

    // The destination clips; a source rectangle outside the source fails.
    CreateSurface(src, 5, 5, RGB(200, 200, 200));
    CreateSurface(dst, 5, 5, 0);
    EXPECT_TRUE(AlphaBlend(dst, 3, -2, 5, 5, src, 0, 0, 5, 5, 128));
    EXPECT_EQ(GetPixel(dst, 2, 0), 0);
    EXPECT_EQ(GetPixel(dst, 4, 2), RGB(100, 100, 100));
    EXPECT_EQ(GetPixel(dst, 4, 3), 0);
    Surface before = dst;
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, 1, 0, 5, 5, 128));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, -1, 0, 5, 5, 128));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 5, 5, src, 0, 0, 5, 5, 256));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 0, 5, src, 0, 0, 5, 5, 128));
    EXPECT_EQ(dst.Pixels, before.Pixels);
    // Onto itself, overlapping: reads the source as it was.
    CreateSurface(dst, 4, 1);
    dst.Pixels = {0, 0xFF, 0xFF, 0};
    AlphaBlend(dst, 1, 0, 3, 1, dst, 0, 0, 3, 1, 255);
    EXPECT_EQ(dst.Pixels, (std::vector<COLORREF>{0, 0, 0xFF, 0xFF}));
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
    Surface s, none;
    CreateSurface(s, 30, 10);
    EXPECT_EQ(TextWidth(s, ""), 0);
    for (auto [x, y] : {std::pair{-500, -3}, {25, 8}, {1 << 30, 1 << 30}}) TextOut(s, x, y, "partly outside");
    TextOut(s, 0, 0, std::string_view("M\xfcller \xff", 9));  // single-byte code page text
    s.FontSize = -40;
    TextOut(s, 0, 0, "negative size");
    TextOut(none, 0, 0, "no pixels");
}

// Positions a unit far off the field can reach: everything clips away, nothing
// overflows (the sanitizer build checks the arithmetic).
TEST(Surface, AbsurdPositionsDrawNothing) {
    Surface dst, src;
    CreateSurface(dst, 40, 30, RGB(1, 2, 3));
    CreateSurface(src, 21, 42, RGB(200, 200, 200));
    const Surface before = dst;
    const int far[] = {INT32_MIN, INT32_MIN + 1, -2000000000, 2000000000, INT32_MAX};
    for (int x : far)
        for (int y : {0, 5, INT32_MIN, INT32_MAX}) {
            for (RasterOp op : {SRCCOPY, SRCAND, SRCPAINT}) {
                BitBlt(dst, x, y, 21, 21, src, 0, 21, op);
                BitBlt(dst, y, x, INT32_MAX, INT32_MAX, src, x, y, op);
            }
            AlphaBlend(dst, x, y, 21, 21, src, 0, 0, 21, 21, 128);
            TextOut(dst, x, y, "far away");
        }
    EXPECT_EQ(dst.Pixels, before.Pixels);
    // A copy reaching in from far off still lands where it should.
    BitBlt(dst, -5, 0, INT32_MAX, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(200, 200, 200));
    EXPECT_EQ(GetPixel(dst, 16, 0), RGB(1, 2, 3));
    // A blend stretched from far off over the whole surface covers it.
    AlphaBlend(dst, -2000000000, 0, INT32_MAX, 30, src, 0, 0, 21, 21, 255);
    EXPECT_EQ(GetPixel(dst, 39, 29), RGB(200, 200, 200));
}

// ------------------------------------------------------------------ pictures

TEST(Picture, LoadsBmpAndJpeg) {
    TempGameDir dir;
    // A 3 x 2 24-bit bitmap written by hand: rows bottom-up, padded to 4 bytes.
    const COLORREF pix[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                {RGB(1, 2, 3), RGB(250, 251, 252), RGB(128, 64, 32)}};
    std::string bmp = "BM";
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; i++) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    for (auto [v, n] : {std::pair{54u + 24, 4}, {0u, 4}, {54u, 4}, {40u, 4}, {3u, 4}, {2u, 4}, {1u, 2}, {24u, 2},
                        {0u, 4}, {24u, 4}, {2835u, 4}, {2835u, 4}, {0u, 4}, {0u, 4}})
        le(v, n);
    for (int y = 1; y >= 0; y--) {
        for (COLORREF c : pix[y]) le(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF), 3);  // blue first
        le(0, 3);
    }
    dir.Write("t.bmp", bmp);
    Surface s;
    ASSERT_TRUE(LoadPictureFile(dir.File("t.bmp"), s));
    ASSERT_EQ(s.Width, 3);
    ASSERT_EQ(s.Height, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) EXPECT_EQ(static_cast<COLORREF>(GetPixel(s, x, y)), pix[y][x]) << x << "," << y;

    // A missing or broken file leaves the surface as it was.
    EXPECT_FALSE(LoadPictureFile(dir.File("none.jpg"), s));
    dir.Write("broken.jpg", "\xff\xd8 not really");
    EXPECT_FALSE(LoadPictureFile(dir.File("broken.jpg"), s));
    EXPECT_EQ(s.Width, 3);
    EXPECT_EQ(GetPixel(s, 2, 0), RGB(0, 0, 255));

    // JPEG made from a two-colour bitmap by ImageMagick.
    std::string cmd = "convert -size 16x16 xc:'rgb(200,40,40)' -fill 'rgb(40,40,200)' -draw 'rectangle 8,0 15,15' " +
                      dir.File("t.jpg") + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "ImageMagick missing";
    ASSERT_TRUE(LoadPictureFile(dir.File("t.jpg"), s));
    ASSERT_EQ(s.Width, 16);
    auto near = [](int32_t p, int r, int g, int b) {
        return std::abs((p & 0xFF) - r) < 12 && std::abs(((p >> 8) & 0xFF) - g) < 12 && std::abs((p >> 16) - b) < 12;
    };
    EXPECT_TRUE(near(GetPixel(s, 2, 8), 200, 40, 40)) << std::hex << GetPixel(s, 2, 8);
    EXPECT_TRUE(near(GetPixel(s, 13, 8), 40, 40, 200)) << std::hex << GetPixel(s, 13, 8);
}

// --------------------------------------------------------------------- files

TEST(Files, AtomicReplacementKeepsTheOldFileOnFailure) {
    TempGameDir dir;
    const std::string target = dir.File("Options.txt");
    ASSERT_TRUE(WriteFileAtomic(target, "old\r\n"));
    ASSERT_TRUE(WriteFileAtomic(target, "new\r\n"));
    EXPECT_EQ(dir.Read("Options.txt"), "new\r\n");

    // The temporary file cannot be created.
    const std::string tmp = target + ".tmp";
    fs::create_directory(tmp);
    EXPECT_FALSE(WriteFileAtomic(target, "lost"));
    fs::remove(tmp);
    // The write fails half way (file size limit reached).
    struct rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = old;
    small.rlim_cur = 100;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = WriteFileAtomic(target, std::string(5000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    // No folder to write into; the target is a folder.
    EXPECT_FALSE(WriteFileAtomic(dir.File("missing/Options.txt"), "x"));
    EXPECT_FALSE(WriteFileAtomic(dir.File("OtherFiles"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.File("OtherFiles")));
    EXPECT_EQ(dir.Read("Options.txt"), "new\r\n");
    EXPECT_FALSE(fs::exists(tmp));

    // Copy goes through the same replacement.
    EXPECT_TRUE(CopyFileOver(target, dir.File("copy.txt")));
    EXPECT_FALSE(CopyFileOver(dir.File("nothing.txt"), dir.File("copy.txt")));
    EXPECT_EQ(dir.Read("copy.txt"), "new\r\n");
    EXPECT_TRUE(DeleteFileIfThere(dir.File("copy.txt")));
    EXPECT_FALSE(FileExistsOnDisk(dir.File("copy.txt")));
    std::string out;
    EXPECT_FALSE(ReadWholeFile(dir.File("OtherFiles"), out));
}

TEST(Files, SavesCutShortLeaveOneFileThatTheNextSaveOrStartRemoves) {
    TempGameDir dir;
    // What a killed save leaves: the target's name plus ".tmp" (older
    // versions added their process number).
    dir.Write("Options.txt.tmp", "half");
    dir.Write("AtopDv118.dvk.tmp4711", "half");
    ASSERT_TRUE(WriteFileAtomic(dir.File("Options.txt"), "new\r\n"));
    EXPECT_FALSE(fs::exists(dir.File("Options.txt.tmp")));
    EXPECT_EQ(dir.Read("Options.txt"), "new\r\n");
    dir.Write("Options.txt.tmp", "half");
    // Not ours: other names, and folders.
    for (const char* keep : {"notes.tmp", "Options.txt.tmpx", "Map01.bmp.tmp.jpg"}) dir.Write(keep, "x");
    fs::create_directory(dir.File("Map01.bmp.tmp"));
    EXPECT_EQ(RemoveSaveLeftovers(dir.Path.string()), 2);
    for (const char* gone : {"Options.txt.tmp", "AtopDv118.dvk.tmp4711"}) EXPECT_FALSE(fs::exists(dir.File(gone)));
    for (const char* keep : {"notes.tmp", "Options.txt.tmpx", "Map01.bmp.tmp.jpg", "Map01.bmp.tmp", "Options.txt"})
        EXPECT_TRUE(fs::exists(dir.File(keep))) << keep;
}

TEST(Files, PathsIgnoreCaseAndLinesSplit) {
    TempGameDir dir;
    dir.Write("OtherFiles/Options.txt", "a\r\nb\nc\rd");
    EXPECT_EQ(GamePath("\\otherfiles\\options.TXT"), dir.File("OtherFiles/Options.txt"));
    // A file still to be written keeps its name, in the folder as spelt on disk.
    EXPECT_EQ(GamePath("\\OTHERFILES\\New.txt"), dir.File("OtherFiles/New.txt"));
    EXPECT_EQ(GamePath("\\nowhere\\Map01.bmp"), dir.File("nowhere/Map01.bmp"));
    EXPECT_EQ(ResolveCase(dir.File("pictures")), dir.File("Pictures"));
    dir.Write("OtherFiles/options.txt", "other");  // the exact spelling wins
    EXPECT_EQ(GamePath("\\OtherFiles\\options.txt"), dir.File("OtherFiles/options.txt"));

    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dir.File("OtherFiles/Options.txt"), lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    dir.Write("two.txt", "\r\n\r\n");
    ASSERT_TRUE(ReadTextLines(dir.File("two.txt"), lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(ReadTextLines(dir.File("absent.txt"), lines));
}

TEST(Files, MemoryFigures) {
    MemoryStatus m = ParseMemInfo("MemTotal: 524288 kB\nMemFree: 10000 kB\nMemAvailable: 204800 kB\n"
                                  "HugePages_Total:       0\nHugepagesize:       2048 kB\n");
    EXPECT_EQ(m.TotalPhys, 512ull << 20);
    EXPECT_EQ(m.AvailPhys, 200ull << 20);
    EXPECT_EQ(m.MemoryLoad, 61u);
    // Older kernels: free + buffers + cache.
    m = ParseMemInfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n");
    EXPECT_EQ(m.AvailPhys, 400u * 1024);
    EXPECT_EQ(ParseMemInfo("garbage").TotalPhys, 0u);
    m = QueryMemoryStatus();
    EXPECT_GT(m.AvailPhys, 0u);
    EXPECT_LE(m.AvailPhys, m.TotalPhys);
}

// --------------------------------------------------------------------- clock

TEST(Clock, TestClockDateAndSleepingPacing) {
    UseTestClock(true, 5000);
    AdvanceTestClock(30);
    EXPECT_EQ(GetTickCount(), 5030u);
    WaitUntilTickPasses(5060);
    EXPECT_EQ(GetTickCount(), 5061u);
    WaitUntilTickPasses(5000);  // already past
    EXPECT_EQ(GetTickCount(), 5061u);
    SetTestDate({2026, 1, 1});
    EXPECT_EQ(GetLocalDate().Year, 2026);
    SetTestDate({0, 0, 0});
    EXPECT_GE(GetLocalDate().Year, 2024);

    // The real clock waits by sleeping, not by keeping a core busy.
    UseTestClock(false);
    uint32_t start = GetTickCount();
    std::clock_t cpu0 = std::clock();
    auto t0 = std::chrono::steady_clock::now();
    WaitUntilTickPasses(start + 100);
    double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GT(GetTickCount(), start + 100);
    EXPECT_GE(wall, 99.0);
    EXPECT_LT(1000.0 * (std::clock() - cpu0) / CLOCKS_PER_SEC, 30.0);
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
    Surface f;
    CreateSurface(f, 300, 300);
    PresentWindow(f, 0, 0, f, 0, 301);
    ConfineMouse(0, 0, 300, 300);
    StartTextInput();
    EXPECT_FALSE(SetWindowFullScreen(true, 640, 480));
    TestPushKey("A", true);
    TestPushQuit();
    ProcessWindowEvents();
    EXPECT_TRUE(Got.Down.empty());
    EXPECT_EQ(Got.Closes, 0);

    TestSetMouse(123, 45);
    int x = 0, y = 0;
    GetMouseInClient(x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(123, 45));
    TestSetKey(17, true);
    TestSetKey(300, true);  // ignored
    uint8_t keys[256];
    ReadKeyboardScanCodes(keys);
    EXPECT_EQ(keys[17], 0x80);
    EXPECT_EQ(std::count(keys, keys + 256, 0), 255);
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
    // Virtual keys of the key events, DirectInput codes of the keyboard state.
    const std::tuple<const char*, int, int> keys[] = {
        {"A", 65, 30},        {"Q", 81, 16},          {"W", 87, 17},           {"X", 88, 45},
        {"0", 48, 11},        {"Escape", 27, 1},      {"Return", 13, 28},      {"Keypad Enter", 13, 156},
        {"Backspace", 8, 14}, {"Left Ctrl", 17, 29},  {"Right Ctrl", 17, 157}, {"Space", 32, 57},
        {"Up", 38, 200},      {"Left", 37, 203},      {"Right", 39, 205},      {"Down", 40, 208},
        {"Insert", 45, 210},  {"Keypad -", 109, 74},  {"Keypad +", 107, 78},   {"F12", 123, 88},
    };
    for (auto [name, vk, dik] : keys) {
        EXPECT_EQ(TestVirtualKeyOf(name), vk) << name;
        EXPECT_EQ(TestScanCodeOf(name), dik) << name;
    }
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
            double sc = std::max(1, std::min(w / 640, h / 480));  // whole-number scaling
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
