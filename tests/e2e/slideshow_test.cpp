// What the running saver puts on the screen, read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60);
constexpr COLORREF KEY = RGB(255, 0, 255);

// A picture whose every pixel tells where it is, with a band of the key colour.
COLORREF Pattern(int x, int y) {
    if (y >= 20 && y < 28) {
        return KEY;
    }
    return RGB(x * 4, y * 5, 128);
}
constexpr int PICTURE_W = 64;
constexpr int PICTURE_H = 48;

// Settings that show pictures centred, at once (one gradation step) and for
// long (the longest hold), over a colour, on a fast timer. pictureKeys go into
// the "Picture" section, files are the "FileList" entries.
std::string HoldingSettings(const std::string& pictureKeys, const std::string& files) {
    return "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
           "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n"
           "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\n" +
           pictureKeys + "[FileList]\n" + files + "[Debug]\nUseElapse=1\nElapse=10\n";
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}

// A copy of gleamo.scr in a folder of its own, with its settings and pictures.
class Slideshow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
        screenW = GetSystemMetrics(SM_CXSCREEN);
        screenH = GetSystemMetrics(SM_CYSCREEN);
        left = (screenW - PICTURE_W) / 2;
        top = (screenH - PICTURE_H) / 2;
        SetCursorPos(10, 10);
    }
    void TearDown() override {
        if (saver) {
            INPUT key[2] = {};
            key[0].type = key[1].type = INPUT_KEYBOARD;
            key[0].ki.wVk = key[1].ki.wVk = VK_SHIFT;
            key[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, key, sizeof(INPUT));
            DWORD exitCode = 0;
            EXPECT_TRUE(saver->WaitForExit(END_LIMIT_MS, exitCode));
            saver.reset();
        }
    }

    void Start(const std::string& settings) {
        ASSERT_TRUE(WriteFileBytes(folder / "gleamo.ini", settings));
        saver = std::make_unique<RunningProcess>(program, "/s");
        ASSERT_TRUE(saver->Started());
    }

    bool WaitForPixel(int x, int y, COLORREF expected) {
        return WaitUntil(SHOW_LIMIT_MS, [&] { return ScreenPixel(x, y) == expected; });
    }

    TempFolder folder;
    std::string program = folder / "gleamo.scr";
    std::unique_ptr<RunningProcess> saver;
    int screenW = 0, screenH = 0, left = 0, top = 0;
};

TEST_F(Slideshow, AHeldPictureShowsExactlyOverExactlyTheBackground) {
    ASSERT_TRUE(WriteFileBytes(folder / "pattern.bmp", Bmp24(PICTURE_W, PICTURE_H, Pattern)));
    Start(HoldingSettings("Count=1\n", "Picture0=pattern.bmp\n"));
    ASSERT_TRUE(WaitForPixel(left + 10, top + 5, Pattern(10, 5))) << "the picture never showed";

    for (int y = 0; y < PICTURE_H; y += 3) {
        for (int x = 0; x < PICTURE_W; x += 3) {
            ASSERT_EQ(ScreenPixel(left + x, top + y), Pattern(x, y)) << x << "," << y;
        }
    }
    for (POINT p : {POINT{0, 0}, POINT{screenW - 1, screenH - 1}, POINT{left - 1, top}, POINT{left, top - 1},
                    POINT{left + PICTURE_W, top + PICTURE_H - 1}, POINT{left, top + PICTURE_H}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), BACK) << p.x << "," << p.y;
    }
}

TEST_F(Slideshow, TheTransparentColourLetsTheBackgroundThrough) {
    ASSERT_TRUE(WriteFileBytes(folder / "pattern.bmp", Bmp24(PICTURE_W, PICTURE_H, Pattern)));
    Start(HoldingSettings("Count=1\nUseMask=1\nUseColor=1\nMaskColor=" + std::to_string(KEY) + "\n",
                          "Picture0=pattern.bmp\n"));
    ASSERT_TRUE(WaitForPixel(left + 10, top + 5, Pattern(10, 5)));
    for (int x = 0; x < PICTURE_W; x += 7) {
        EXPECT_EQ(ScreenPixel(left + x, top + 22), BACK) << "column " << x << " of the key-coloured band";
        EXPECT_EQ(ScreenPixel(left + x, top + 30), Pattern(x, 30));
    }
}

TEST_F(Slideshow, ATiledBackgroundRepeatsFromTheTopLeft) {
    const auto tile = [](int x, int y) { return RGB(x * 8, y * 8, x < 16 ? 40 : 200); };
    ASSERT_TRUE(WriteFileBytes(folder / "tile.bmp", Bmp24(30, 20, tile)));
    Start("[Back]\nScreen=0\nUsePic=1\nTile=1\nPath=tile.bmp\n");
    ASSERT_TRUE(WaitForPixel(1, 1, tile(1, 1)));
    for (POINT p : {POINT{0, 0}, POINT{29, 19}, POINT{30, 0}, POINT{45, 33}, POINT{301, 207}, POINT{screenW - 1, 0},
                    POINT{screenW - 1, screenH - 1}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), tile(p.x % 30, p.y % 20)) << p.x << "," << p.y;
    }
}

TEST_F(Slideshow, WithoutPicturesTheBackgroundStays) {
    Start(HoldingSettings("", ""));
    ASSERT_TRUE(WaitForPixel(screenW / 2, screenH / 2, BACK));
    EXPECT_EQ(ScreenPixel(0, 0), BACK);
    EXPECT_EQ(ScreenPixel(screenW - 1, screenH - 1), BACK);
}

TEST_F(Slideshow, GifAndBrokenFilesAreSkippedForTheNextPicture) {
    ASSERT_TRUE(WriteFileBytes(folder / "moving.gif", "GIF89a\x01\x00\x01\x00"));
    ASSERT_TRUE(WriteFileBytes(folder / "broken.bmp", "BM this is not a picture"));
    ASSERT_TRUE(WriteFileBytes(folder / "pattern.bmp", Bmp24(PICTURE_W, PICTURE_H, Pattern)));
    Start(HoldingSettings("Count=3\n", "Picture0=moving.gif\nPicture1=broken.bmp\nPicture2=pattern.bmp\n"));
    ASSERT_TRUE(WaitForPixel(left + 10, top + 5, Pattern(10, 5)));
    EXPECT_EQ(ScreenPixel(left + 40, top + 40), Pattern(40, 40));
}

}  // namespace
