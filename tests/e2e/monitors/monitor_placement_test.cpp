// The saver on a desktop of two monitors (tools/monitors-display): the primary
// at the origin and a larger one left of it, at negative coordinates. The
// arithmetic of stages is the core suite's; here the real program shows that
// it reads the system's monitors and that what it draws keeps to them.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "e2e/monitors/screen_shot.h"
#include "shell/saver_window.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000, END_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60), GREEN = RGB(0, 255, 0), BLUE = RGB(0, 0, 255);
constexpr char SAVER_CLASS[] = "WindowsScreenSaverClass";

struct Monitors {
    int count = 0;
    RECT primary = {}, other = {};
};

BOOL CALLBACK NoteMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    Monitors& monitors = *reinterpret_cast<Monitors*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        ++monitors.count;
        (info.dwFlags & MONITORINFOF_PRIMARY ? monitors.primary : monitors.other) = info.rcMonitor;
    }
    return TRUE;
}

// The smallest rectangle around the pixels of one colour in the areas; empty when none.
RECT BoxOf(const ScreenShot& shot, std::initializer_list<RECT> areas, COLORREF color) {
    RECT box = {};
    for (const RECT& area : areas) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const RECT pixel = {x, y, x + 1, y + 1};
                if (shot.At(x, y) == color) {
                    UnionRect(&box, &box, &pixel);
                }
            }
        }
    }
    return box;
}

bool Within(const RECT& box, const RECT& outer) {
    RECT common;
    return IntersectRect(&common, &box, &outer) && EqualRect(&common, &box);
}

// A copy of gleamo.scr in a folder of its own, beside its settings and pictures.
class TwoMonitors : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        EnumDisplayMonitors(nullptr, nullptr, NoteMonitor, reinterpret_cast<LPARAM>(&monitors));
        ASSERT_EQ(monitors.count, 2) << "not the display of two monitors that tools/monitors-display starts";
        ASSERT_EQ(monitors.other.right, monitors.primary.left) << "the other monitor lies left of the primary";
        ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
        SetCursorPos(monitors.primary.left + 5, monitors.primary.top + 5);
    }

    // Settings at path: the captured desktop (screen 1) or BACK behind pictures
    // in list order, centred, shown at once (one gradation step) and held for
    // `delay` ticks of a fast timer.
    void WriteSettings(const std::string& path, int screen, int delay, const std::string& pictureKeys,
                       const std::vector<std::string>& pictures) {
        std::string ini = "[Back]\nScreen=" + std::to_string(screen) + "\nUsePic=0\nBackColor=" +
                          std::to_string(BACK) + "\n[Effect]\nScale=1\nSpeed=1\nDelay=" + std::to_string(delay) + "\n" +
                          "[Picture]\nCenter=1\nStretch=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\nUseMask=0\n" +
                          pictureKeys + "Count=" + std::to_string(pictures.size()) + "\n[FileList]\n";
        for (size_t i = 0; i < pictures.size(); ++i) {
            ini += "Picture" + std::to_string(i) + "=" + pictures[i] + "\n";
        }
        ASSERT_TRUE(WriteFileBytes(path, ini + "[Debug]\nUseElapse=1\nElapse=10\n"));
    }

    // A key ends the full-screen saver.
    static void EndWithKey(RunningProcess& saver) {
        PressKey(VK_SHIFT);
        DWORD exitCode = 0xDEAD;
        EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    TempFolder folder;
    const std::string program = folder / "gleamo.scr";
    Monitors monitors;
};

// Three primary monitors wide, red, its columns numbered in green (x
// mod 256) so that a drift sideways shows at the seam too.
COLORREF Wide(int x, int) { return RGB(255, x & 0xFF, 0); }

bool IsWide(COLORREF c) { return c != CLR_INVALID && GetRValue(c) == 255 && GetBValue(c) == 0; }

// One screen read back: where each picture is.
struct Frame {
    RECT green = {}, blue = {};
    int wideOnOther = 0;  // pixels of the wide picture on the other monitor
    int wideRows = 0;     // rows of the primary it covers from edge to edge
    int wideTop = -1;     // the first of them
    COLORREF wideAtSeam = CLR_INVALID;  // its pixel at the seam, on that row
};

Frame ReadFrame(const ScreenShot& shot, const Monitors& monitors) {
    Frame frame;
    const RECT &p = monitors.primary, &o = monitors.other;
    frame.green = BoxOf(shot, {p, o}, GREEN);
    frame.blue = BoxOf(shot, {p, o}, BLUE);
    for (int y = o.top; y < o.bottom; ++y) {
        for (int x = o.left; x < o.right; ++x) {
            frame.wideOnOther += IsWide(shot.At(x, y)) ? 1 : 0;
        }
    }
    for (int y = p.top; y < p.bottom; ++y) {
        if (IsWide(shot.At(p.left, y)) && IsWide(shot.At(p.right - 1, y))) {
            frame.wideTop = frame.wideTop < 0 ? y : frame.wideTop;
            frame.wideAtSeam = frame.wideTop == y ? shot.At(p.left, y) : frame.wideAtSeam;
            ++frame.wideRows;
        }
    }
    return frame;
}

// Three slides, each stamped into the background (no fade-out) after a short
// hold: a moving picture far wider than the primary monitor, then a green
// square, then a blue one. They take the monitors in turn, the primary first;
// the wide one is cut at the seam while it moves and when it is stamped.
TEST_F(TwoMonitors, SlidesTakeTheMonitorsInTurnPrimaryFirstAndAWidePictureIsCutAtTheSeam) {
    const int wideWidth = 3 * (monitors.primary.right - monitors.primary.left);
    folder.Write("wide.bmp", Bmp24(wideWidth, 100, Wide));
    folder.Write("green.bmp", SolidBmp24(40, 40, GREEN));
    folder.Write("blue.bmp", SolidBmp24(40, 40, BLUE));
    WriteSettings(folder / "gleamo.ini", 0, 40, "NoFadeout=1\nMove=1\n", {"wide.bmp", "green.bmp", "blue.bmp"});
    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());

    ScreenShot shot;
    Frame firstWide;
    bool moved = false, greenSeen = false, blueSeen = false;
    int frames = 0;
    std::string fault;  // the first thing seen wrong, which ends the watch
    const auto check = [&](bool holds, const char* what) {
        if (!holds && fault.empty()) {
            fault = std::string(what) + " (frame " + std::to_string(frames) + ")";
        }
    };
    WaitUntil(SHOW_LIMIT_MS, [&] {
        if (!shot.Take()) {
            return false;
        }
        const Frame frame = ReadFrame(shot, monitors);
        ++frames;
        check(frame.wideOnOther == 0, "the wide picture crossed the seam");
        if (frame.wideRows > 0 && firstWide.wideRows == 0) {
            check(!greenSeen && !blueSeen, "the primary monitor's slide was not the first");
            firstWide = frame;
        }
        // Held, or stamped where it ended, it is elsewhere than it began.
        moved = moved || (frame.wideRows > 0 && (frame.wideTop != firstWide.wideTop ||
                                                 frame.wideAtSeam != firstWide.wideAtSeam));
        if (!IsRectEmpty(&frame.green)) {
            check(firstWide.wideRows > 0, "the second slide came first");
            check(Within(frame.green, monitors.other), "the second slide is not on the other monitor");
            check(frame.wideRows > 0, "the wide picture was not stamped into the background");
            greenSeen = true;
        }
        if (!IsRectEmpty(&frame.blue)) {
            check(greenSeen, "the third slide came before the second");
            check(Within(frame.blue, monitors.primary), "the third slide is not back on the primary monitor");
            blueSeen = true;
        }
        return blueSeen || !fault.empty();
    });
    ASSERT_EQ(fault, "");
    EXPECT_TRUE(blueSeen) << "the slides never came round to the primary monitor again";
    EXPECT_TRUE(moved) << "the wide picture did not move";
    EndWithKey(saver);
}

// The desktop the test shows on both monitors: every pixel tells where it
// is, (u, v) from the virtual screen's top-left corner.
COLORREF DeskPattern(int u, int v) { return RGB(u & 0xFF, v & 0xFF, (u >> 8) << 4 | (v >> 8)); }

// A window over the whole virtual screen that shows DeskPattern.
struct DeskWindow {
    DeskWindow() {
        const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        BYTE* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        const size_t stride = (3 * static_cast<size_t>(width) + 3) / 4 * 4;
        for (int y = 0; bits != nullptr && y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = DeskPattern(x, y);
                BYTE* pixel = bits + y * stride + 3 * x;
                pixel[0] = GetBValue(c), pixel[1] = GetGValue(c), pixel[2] = GetRValue(c);
            }
        }
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BITMAP,
                                 GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), width,
                                 height, nullptr, nullptr, nullptr, nullptr);
        SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    ~DeskWindow() {
        Close();
        DeleteObject(bitmap);
    }
    void Close() {
        if (window != nullptr) {
            DestroyWindow(window);
            window = nullptr;
        }
    }
    HWND window = nullptr;
    HBITMAP bitmap = nullptr;
};

// The pixels of both monitors that differ from DeskPattern, and the first of them.
int DeskMismatches(const ScreenShot& shot, const Monitors& monitors, POINT& first) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int mismatches = 0;
    for (const RECT& monitor : {monitors.primary, monitors.other}) {
        for (int y = monitor.top; y < monitor.bottom; ++y) {
            for (int x = monitor.left; x < monitor.right; ++x) {
                if (shot.At(x, y) != DeskPattern(x - left, y - top) && mismatches++ == 0) {
                    first = {x, y};
                }
            }
        }
    }
    return mismatches;
}

// The saver covers both monitors with the desktop it captured, each pixel
// where it was, on the monitor left of the origin too, whatever colour the
// settings also name. The desktop is gone by the time the saver paints: what
// shows is the saver's copy.
TEST_F(TwoMonitors, TheDesktopIsCapturedOneToOneOnBothMonitors) {
    WriteSettings(folder / "gleamo.ini", 1, 40, "", {});
    DeskWindow desk;
    ASSERT_NE(desk.window, nullptr);
    ScreenShot shot;
    POINT first = {};
    ASSERT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] { return shot.Take() && DeskMismatches(shot, monitors, first) == 0; }))
        << "the test's desktop never showed";

    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] { return (window = VisibleWindowOf(saver, SAVER_CLASS)) != nullptr; }));
    desk.Close();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int mismatches = 0;
    WaitUntil(SHOW_LIMIT_MS, [&] {
        return shot.Take() && (mismatches = DeskMismatches(shot, monitors, first)) == 0;
    });
    EXPECT_EQ(mismatches, 0) << "first at " << first.x << "," << first.y;
    EndWithKey(saver);
}

// A preview whose host lies across the seam is one stage, as on one monitor:
// its picture is centred in the whole host, not in the host's part on the
// primary monitor. The preview window is the one /p makes, made in this
// process: Wine shows no child window of another process, so what a
// gleamo.scr started with /p draws in a host of ours never reaches the screen.
TEST_F(TwoMonitors, APreviewAcrossTheSeamCentresItsPictureInTheWholeHost) {
    folder.Write("green.bmp", SolidBmp24(80, 80, GREEN));
    const std::string iniPath = ExecutableFolder() + "gleamo.ini";  // the engine reads it beside this program
    WriteSettings(iniPath, 0, 999, "NoFadeout=0\nMove=0\n", {folder / "green.bmp"});
    const WNDCLASSA hostClass = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr,
                                 nullptr, "GleamoTestHost"};
    RegisterClassA(&hostClass);
    const int hostWidth = 200, hostHeight = 150;
    HWND host = CreateWindowExA(0, hostClass.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                monitors.primary.left - hostWidth / 2, monitors.primary.top + 100, hostWidth,
                                hostHeight, nullptr, nullptr, hostClass.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_NE(CreateSaverWindow(host), nullptr);

    // Shrunk by the preview's share of the primary monitor's height.
    const int shown = 80 * hostHeight / (monitors.primary.bottom - monitors.primary.top);
    POINT origin = {0, 0};
    ClientToScreen(host, &origin);
    const RECT hostArea = {origin.x, origin.y, origin.x + hostWidth, origin.y + hostHeight};
    ScreenShot shot;
    RECT green = {};
    const bool whole = WaitUntil(SHOW_LIMIT_MS, [&] {
        green = shot.Take() ? BoxOf(shot, {hostArea}, GREEN) : RECT{};
        return green.right - green.left == shown && green.bottom - green.top == shown;
    });
    DestroyWindow(host);
    DeleteFileA(iniPath.c_str());
    ASSERT_TRUE(whole) << "the preview never showed its picture whole";
    EXPECT_EQ(green.left, origin.x + (hostWidth - shown) / 2);
    EXPECT_EQ(green.top, origin.y + (hostHeight - shown) / 2);
}

}  // namespace
