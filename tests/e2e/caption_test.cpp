// The caption of each picture, read off the screen: the date taken and the
// folder drawn into the picture's bottom band, nothing in its top band, and
// nothing at all with the setting off. Over a transparent colour the
// caption's white stays visible.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/gdi_guards.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000, END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60), PICTURE = RGB(0xE0, 0x90, 0x10), WHITE = RGB(255, 255, 255);
constexpr int WIDTH = 400, HEIGHT = 300;

struct BandCounts {
    int picture = 0;     // pixels of the picture's own colour
    int nearWhite = 0;   // every channel 250 or more
    int white = 0;
};

// Counts the screen pixels of rows top..bottom - 1 of the picture centred on it.
BandCounts CountBand(int top, int bottom) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - WIDTH) / 2;
    const int pictureTop = (GetSystemMetrics(SM_CYSCREEN) - HEIGHT) / 2;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), WIDTH, -(bottom - top), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ScopedBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedCreatedDc dc(CreateCompatibleDC(nullptr));
    ScopedClientDc screen(nullptr);
    BandCounts counts;
    if (copy.Get() == nullptr || dc.Get() == nullptr) {
        return counts;
    }
    {
        ScopedSelection selection(dc.Get(), copy.Get());
        BitBlt(dc.Get(), 0, 0, WIDTH, bottom - top, screen.Get(), left, pictureTop + top, SRCCOPY);
    }
    const BYTE* p = static_cast<const BYTE*>(bits);
    for (int i = 0; i < WIDTH * (bottom - top); ++i, p += 4) {
        const COLORREF c = RGB(p[2], p[1], p[0]);
        counts.picture += c == PICTURE;
        counts.white += c == WHITE;
        counts.nearWhite += p[0] >= 250 && p[1] >= 250 && p[2] >= 250;
    }
    return counts;
}

// Runs the saver on one picture in a folder of its own, centred and held
// over BACK, and counts the top and bottom quarters of it once it is wholly
// faded in (its top-left pixel is PICTURE, whatever the bottom holds).
void Show(const std::string& picture, const std::string& pictureSettings, BandCounts& top, BandCounts& bottom) {
    TempFolder folder;
    const std::string program = folder / "gleamo.scr";
    ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CreateDirectoryA((folder / "summer").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder / "summer\\picture.bmp", picture));
    ASSERT_TRUE(WriteFileBytes(folder / "gleamo.ini",
                               "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                                   "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n"
                                   "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\n" +
                                   pictureSettings + "Count=1\n[FileList]\nPicture0=" + folder.Path() +
                                   "summer\\picture.bmp\n[Debug]\nUseElapse=1\nElapse=10\n"));
    SetCursorPos(5, 5);
    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());
    ASSERT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] { return CountBand(0, 1).picture == WIDTH; }))
        << "the picture never showed";
    top = CountBand(0, HEIGHT / 4);
    bottom = CountBand(HEIGHT * 3 / 4, HEIGHT);
    PressKey(VK_SHIFT);
    DWORD exitCode = 0;
    EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
}

TEST(Caption, InTheBottomBandOnlyWithTheSettingOnAndVisibleOverTheTransparentColor) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    const std::string plain = SolidBmp24(WIDTH, HEIGHT, PICTURE);
    // White below the middle: with white as the transparent colour, the background shows there.
    const std::string halfWhite = Bmp24(WIDTH, HEIGHT, [](int, int y) { return y < HEIGHT / 2 ? PICTURE : WHITE; });
    const int band = WIDTH * HEIGHT / 4;
    const struct {
        const std::string& picture;
        const char* settings;
        bool captioned;
    } cases[] = {
        {plain, "Caption=1\n", true},
        {plain, "", false},
        {halfWhite, "Caption=1\nUseMask=1\nUseColor=1\nMaskColor=16777215\n", true},
    };
    for (const auto& c : cases) {
        BandCounts top, bottom;
        Show(c.picture, c.settings, top, bottom);
        EXPECT_EQ(top.picture, band) << c.settings;
        if (&c.picture == &plain) {
            EXPECT_EQ(bottom.picture < band, c.captioned) << c.settings << bottom.picture;
        } else {
            EXPECT_EQ(bottom.white, 0) << "the transparent colour shows the background";
            EXPECT_GT(bottom.nearWhite, 0) << "the caption's white is a step off the transparent colour";
        }
    }
}

}  // namespace
