// The saver on a screen scaled to 150 % (144 DPI): it draws in physical
// pixels, and what the user sees keeps the size it has at 100 %. Wine gives a
// program started after LogPixels is set that resolution, aware or not, with
// the screen's physical metrics.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/gdi_guards.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000, END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60), PICTURE = RGB(0xE0, 0x90, 0x10);
constexpr char DESKTOP_KEY[] = "Control Panel\\Desktop";

// LogPixels for the programs started while it lives; the value before comes back after.
class ScreenResolution {
public:
    explicit ScreenResolution(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS;
        set_ = RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~ScreenResolution() {
        if (key_ == nullptr) {
            return;
        }
        if (hadValue_) {
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof previous_);
        } else {
            RegDeleteValueA(key_, "LogPixels");
        }
        RegCloseKey(key_);
    }
    bool Set() const { return set_; }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false, set_ = false;
};

COLORREF ScreenPixel(int x, int y) { return GetPixel(ScopedClientDc(nullptr).Get(), x, y); }

// Runs the saver on one picture, centred and held over BACK, and measures the
// width and height of what it draws across the middle of the screen.
void MeasureShown(const std::string& picture, int limit, int& width, int& height) {
    width = height = 0;
    TempFolder folder;
    const std::string program = folder / "gleamo.scr";
    ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(folder / "picture.bmp", picture));
    ASSERT_TRUE(WriteFileBytes(folder / "gleamo.ini",
                               "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                                   "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n"
                                   "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=" +
                                   std::to_string(limit) + "\nMaxHeight=" + std::to_string(limit) +
                                   "\nCount=1\nUseMask=0\n[FileList]\nPicture0=picture.bmp\n"
                                   "[Debug]\nUseElapse=1\nElapse=10\n"));
    SetCursorPos(5, 5);
    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] { return ScreenPixel(screenW / 2, screenH / 2) == PICTURE; }))
        << "the picture never showed";
    for (int x = 0; x < screenW; ++x) {
        width += ScreenPixel(x, screenH / 2) == PICTURE ? 1 : 0;
    }
    for (int y = 0; y < screenH; ++y) {
        height += ScreenPixel(screenW / 2, y) == PICTURE ? 1 : 0;
    }
    PressKey(VK_SHIFT);
    DWORD exitCode = 0;
    EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
}

// A picture inside the limit is drawn 1.5 times its pixels, as the system
// stretched it before; a photo over the limit is shrunk straight to 1.5 times
// the limit, not to the limit and then stretched.
TEST(ScaledScreen, PicturesKeepTheirApparentSizeAtOneHundredAndFiftyPercent) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    ScreenResolution resolution(144);
    ASSERT_TRUE(resolution.Set());
    int width = 0, height = 0;
    MeasureShown(SolidBmp24(64, 48, PICTURE), 640, width, height);
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 72);
    MeasureShown(SolidBmp24(1000, 800, PICTURE), 200, width, height);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 240);
}

}  // namespace
