// gleamo.scr running as a screen saver: full screen and in a preview host.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/process_run.h"

namespace {

constexpr DWORD START_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 10000;

HWND FindFullScreenSaver() {
    return FindWindowA("WindowsScreenSaverClass", "Screen Saver");
}

DWORD OwnerOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// Waits for the full-screen window of process to appear.
HWND WaitForSaverOf(const RunningProcess& saver) {
    HWND found = nullptr;
    WaitUntil(START_LIMIT_MS, [&] {
        found = FindFullScreenSaver();
        return found != nullptr && OwnerOf(found) == saver.Id();
    });
    if (found == nullptr || OwnerOf(found) != saver.Id()) {
        return nullptr;
    }
    // Input goes to the foreground window: wait until the saver is it.
    WaitUntil(START_LIMIT_MS, [&] { return GetForegroundWindow() == found && IsWindowVisible(found); });
    return found;
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void MoveMouseBy(int dx, int dy) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(INPUT));
}

void ClickLeft() {
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

class FullScreenRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        ASSERT_EQ(FindFullScreenSaver(), nullptr) << "a saver from an earlier test is still running";
        SetCursorPos(300, 300);
    }
};

TEST_F(FullScreenRun, CoversTheScreenWithATopmostSaverWindow) {
    RunningProcess saver(GleamoPath(), "/s");
    ASSERT_TRUE(saver.Started());
    HWND window = WaitForSaverOf(saver);
    ASSERT_NE(window, nullptr);
    RECT area = {};
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// A key, a click and a mouse move beyond 4 pixels each end the saver with 0.
TEST_F(FullScreenRun, InputEndsIt) {
    const std::pair<const char*, void (*)()> inputs[] = {
        {"key", [] { PressKey(VK_SHIFT); }},
        {"click", ClickLeft},
        {"mouse move", [] { MoveMouseBy(20, 0); }},
    };
    for (const auto& input : inputs) {
        RunningProcess saver(GleamoPath(), "/s");
        ASSERT_NE(WaitForSaverOf(saver), nullptr) << input.first;
        input.second();
        DWORD exitCode = 0xDEAD;
        ASSERT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode)) << input.first << " did not end the saver";
        EXPECT_EQ(exitCode, 0u) << input.first;
    }
}

TEST_F(FullScreenRun, ASecondSaverBringsTheFirstForwardAndEnds) {
    RunningProcess first(GleamoPath(), "/s");
    HWND window = WaitForSaverOf(first);
    ASSERT_NE(window, nullptr);

    RunningProcess second(GleamoPath(), "-S");
    DWORD exitCode = 0xDEAD;
    ASSERT_TRUE(second.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindFullScreenSaver(), window) << "the first saver keeps running";

    PressKey(VK_SHIFT);
    ASSERT_TRUE(first.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(PreviewRun, RunsInsideTheHostIgnoresInputAndEndsWithIt) {
    ASSERT_FALSE(GleamoPath().empty());
    HWND host = CreateWindowExA(0, "STATIC", "display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                                170, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    RunningProcess preview(GleamoPath(), "/p " + std::to_string(reinterpret_cast<UINT_PTR>(host)));
    HWND child = nullptr;
    ASSERT_TRUE(WaitUntil(START_LIMIT_MS, [&] {
        child = FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview");
        return child != nullptr;
    }));
    RECT hostArea = {}, area = {};
    GetClientRect(host, &hostArea);
    GetClientRect(child, &area);
    EXPECT_EQ(area.right, hostArea.right);
    EXPECT_EQ(area.bottom, hostArea.bottom);

    // Input reaches the preview without ending it: the preview stays until
    // its host is gone.
    SetForegroundWindow(host);
    PressKey(VK_SHIFT);
    ClickLeft();
    MoveMouseBy(-100, -100);
    MoveMouseBy(200, 200);
    DWORD exitCode = 0xDEAD;
    EXPECT_FALSE(preview.WaitForExit(500, exitCode)) << "input ended the preview";
    EXPECT_TRUE(IsWindow(child));

    DestroyWindow(host);
    ASSERT_TRUE(preview.WaitForExit(END_LIMIT_MS, exitCode)) << "the preview outlived its host";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
