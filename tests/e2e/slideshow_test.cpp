// What the running saver puts on the screen, read back pixel by pixel. Tiling,
// skipped files and the empty list are the engine suite's; here the real
// program shows that its settings file, its engine and the screen fit together.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/gdi_guards.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60);
constexpr COLORREF KEY = RGB(255, 0, 255);
constexpr int PICTURE_W = 64;
constexpr int PICTURE_H = 48;

// A picture whose every pixel tells where it is, with a band of the key colour.
COLORREF Pattern(int x, int y) {
    if (y >= 20 && y < 28) {
        return KEY;
    }
    return RGB(x * 4, y * 5, 128);
}

COLORREF ScreenPixel(int x, int y) {
    ScopedClientDc screen(nullptr);
    return GetPixel(screen.Get(), x, y);
}

// The picture is shown centred, at once (one gradation step) and for long (the
// longest hold), over a colour, on a fast timer, with the key colour transparent.
TEST(Slideshow, AHeldPictureShowsExactlyOverTheBackgroundWhichShowsThroughTheKeyColour) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    TempFolder folder;  // a copy of gleamo.scr with its own settings and picture
    const std::string program = folder / "gleamo.scr";
    ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(folder / "pattern.bmp", Bmp24(PICTURE_W, PICTURE_H, Pattern)));
    ASSERT_TRUE(WriteFileBytes(folder / "gleamo.ini",
                               "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                                   "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n"
                                   "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\n"
                                   "Count=1\nUseMask=1\nUseColor=1\nMaskColor=" + std::to_string(KEY) +
                                   "\n[FileList]\nPicture0=pattern.bmp\n[Debug]\nUseElapse=1\nElapse=10\n"));
    SetCursorPos(10, 10);
    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());

    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    const int left = (screenW - PICTURE_W) / 2, top = (screenH - PICTURE_H) / 2;
    ASSERT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] { return ScreenPixel(left + 10, top + 5) == Pattern(10, 5); }))
        << "the picture never showed";
    for (int y = 0; y < PICTURE_H; y += 3) {
        for (int x = 0; x < PICTURE_W; x += 3) {
            ASSERT_EQ(ScreenPixel(left + x, top + y), Pattern(x, y) == KEY ? BACK : Pattern(x, y)) << x << "," << y;
        }
    }
    for (POINT p : {POINT{0, 0}, POINT{screenW - 1, screenH - 1}, POINT{left - 1, top}, POINT{left, top - 1},
                    POINT{left + PICTURE_W, top + PICTURE_H - 1}, POINT{left, top + PICTURE_H}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), BACK) << p.x << "," << p.y;
    }

    // A key still ends it while a picture is held.
    PressKey(VK_SHIFT);
    DWORD exitCode = 0xDEAD;
    EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
