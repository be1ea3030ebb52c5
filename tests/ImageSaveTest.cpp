// Our picture writers, checked by decoding what they wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Image.h"

namespace {
std::string TempDir() {
    auto d = std::filesystem::temp_directory_path() / ("dorvik_imagesave_" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d.string();
}

// A picture with smooth gradients, hard edges and an odd size (partial MCUs).
Surface TestPicture(int w, int h) {
    Surface s;
    CreateSurface(s, w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            COLORREF c = RGB(x * 255 / w, y * 255 / h, (x * y) & 0xFF);
            if ((x / 7 + y / 5) % 3 == 0) c = RGB(0, 0, 0);
            SetPixel(s, x, y, c);
        }
    return s;
}

int MaxError(const Surface& a, const Surface& b) {
    int worst = 0;
    for (size_t i = 0; i < a.Pixels.size(); i++)
        for (int sh = 0; sh < 24; sh += 8)
            worst = std::max(worst, std::abs(int((a.Pixels[i] >> sh) & 0xFF) - int((b.Pixels[i] >> sh) & 0xFF)));
    return worst;
}
}  // namespace

TEST(ImageSave, BmpKeepsEveryPixel) {
    const std::string dir = TempDir();
    Surface s = TestPicture(37, 21), back;
    ASSERT_TRUE(SaveBmpFile(dir + "/a.bmp", s));
    ASSERT_TRUE(LoadPictureFile(dir + "/a.bmp", back));
    ASSERT_EQ(back.Width, 37);
    ASSERT_EQ(back.Height, 21);
    EXPECT_EQ(back.Pixels, s.Pixels);
    std::filesystem::remove_all(dir);
}

TEST(ImageSave, JpegDecodesAtEveryQualityAndFullChromaStaysClose) {
    const std::string dir = TempDir();
    Surface s = TestPicture(45, 29), back;
    for (int q : {1, 50, 75, 100})
        for (bool full : {false, true}) {
            const std::string path = dir + "/q" + std::to_string(q) + (full ? "f" : "") + ".jpg";
            ASSERT_TRUE(SaveJpegFile(path, s, q, full));
            ASSERT_TRUE(LoadPictureFile(path, back)) << path;
            EXPECT_EQ(back.Width, 45);
            EXPECT_EQ(back.Height, 29);
        }
    ASSERT_TRUE(LoadPictureFile(dir + "/q100f.jpg", back));
    EXPECT_LE(MaxError(s, back), 6);
    // Lower quality is smaller.
    EXPECT_LT(std::filesystem::file_size(dir + "/q50.jpg"), std::filesystem::file_size(dir + "/q100.jpg"));
    std::filesystem::remove_all(dir);
}

TEST(ImageSave, PngKeepsEveryPixelAndEmptyPicturesAreRefused) {
    const std::string dir = TempDir();
    Surface s = TestPicture(19, 33), back, empty;
    ASSERT_TRUE(SavePngFile(dir + "/a.png", s));
    ASSERT_TRUE(LoadPictureFile(dir + "/a.png", back));
    EXPECT_EQ(back.Pixels, s.Pixels);
    EXPECT_FALSE(SaveBmpFile(dir + "/e.bmp", empty));
    EXPECT_FALSE(SaveJpegFile(dir + "/e.jpg", empty, 50));
    EXPECT_FALSE(SavePngFile(dir + "/e.png", empty));
    EXPECT_FALSE(FileExistsOnDisk(dir + "/e.bmp"));
    std::filesystem::remove_all(dir);
}
