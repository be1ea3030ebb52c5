// Screenshots: the composed picture, the numbering and the files left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/Screenshot.h"
#include "input/DirectInputMod.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "shell/GameState.h"
#include "support/TempDir.h"

namespace {
class Screenshot : public ::testing::Test {
protected:
    TempGameDir Dir;
    void SetUp() override {
        ResetGameState();
        TestReleaseAllKeys();
        CreateKeyboard();
        CreateSurface(Field, 300, 300, RGB(10, 200, 10));
        SetPixel(Field, 150, 150, RGB(255, 255, 255));  // the pointer drawn into the field
        CreateSurface(StatusField, 300, 78, RGB(200, 10, 10));
    }
    void TearDown() override { TestReleaseAllKeys(); }
    bool Exists(const std::string& rel) const { return std::filesystem::exists(Dir.File(rel)); }
    // Whether this build can write JPEG files at all.
    bool CanWriteJpeg() const {
        Surface s;
        CreateSurface(s, 2, 2);
        return SaveJpegFile(Dir.File("probe.jpg"), s, 50);
    }
};

void PollInsert() {
    TestSetKey(DIK_INSERT, true);
    ReadKeyboard();
    TestSetKey(DIK_INSERT, false);
}
}  // namespace

TEST_F(Screenshot, FieldOverStatusBarAndNoBitmapLeft) {
    TakeScreenshot(Dir.File("shot"), 50);
    ASSERT_EQ(LoadPicDC.Width, 301);
    ASSERT_EQ(LoadPicDC.Height, 378);
    EXPECT_EQ(GetPixel(LoadPicDC, 0, 0), static_cast<int32_t>(RGB(10, 200, 10)));
    EXPECT_EQ(GetPixel(LoadPicDC, 150, 150), static_cast<int32_t>(RGB(255, 255, 255)));
    EXPECT_EQ(GetPixel(LoadPicDC, 299, 299), static_cast<int32_t>(RGB(10, 200, 10)));
    EXPECT_EQ(GetPixel(LoadPicDC, 150, 300), 0);  // the window's background between them
    EXPECT_EQ(GetPixel(LoadPicDC, 300, 100), 0);
    EXPECT_EQ(GetPixel(LoadPicDC, 0, 301), static_cast<int32_t>(RGB(200, 10, 10)));
    EXPECT_EQ(GetPixel(LoadPicDC, 299, 377), static_cast<int32_t>(RGB(200, 10, 10)));
    EXPECT_FALSE(Exists("shot.bmp"));
    if (CanWriteJpeg()) {
        EXPECT_TRUE(Exists("shot.jpg"));
    }

    // No name: "test" in the game folder.
    TakeScreenshot("", 50);
    EXPECT_FALSE(Exists("test.bmp"));
    if (CanWriteJpeg()) {
        EXPECT_TRUE(Exists("test.jpg"));
    }
}

TEST_F(Screenshot, FileExistsMeansReadable) {
    Dir.Write("here.txt", "x");
    EXPECT_EQ(FileExists(Dir.File("here.txt")), -1);
    EXPECT_EQ(FileExists(Dir.File("nothere.txt")), 0);
}

TEST_F(Screenshot, InsertContinuesAfterExistingPicturesAlsoAfterARestart) {
    Dir.Write("Dorvik Pic1.jpg", "old");
    Dir.Write("Dorvik Pic2.jpg", "old");
    PollInsert();
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_EQ(Dir.Read("Dorvik Pic1.jpg"), "old");
    // Held down: one picture per poll.
    PollInsert();
    EXPECT_EQ(ScreenshotNumber, 4);
    EXPECT_FALSE(Exists("Dorvik Pic3.bmp"));
    EXPECT_FALSE(Exists("Dorvik Pic4.bmp"));
    if (!CanWriteJpeg()) return;
    EXPECT_TRUE(Exists("Dorvik Pic3.jpg"));
    EXPECT_TRUE(Exists("Dorvik Pic4.jpg"));
    // A new run starts counting at 0 and skips every existing picture.
    ScreenshotNumber = 0;
    PollInsert();
    EXPECT_EQ(ScreenshotNumber, 5);
    EXPECT_TRUE(Exists("Dorvik Pic5.jpg"));
    // The last number is taken: no more pictures, and the count never wraps.
    ScreenshotNumber = 32766;
    PollInsert();
    PollInsert();
    EXPECT_EQ(ScreenshotNumber, 32767);
    EXPECT_TRUE(Exists("Dorvik Pic32767.jpg"));
    EXPECT_FALSE(Exists("Dorvik Pic-32768.jpg"));
}
