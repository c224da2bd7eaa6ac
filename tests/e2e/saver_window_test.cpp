// gleamo.scr running as a screen saver: full screen and in a preview host.
// The closing rules themselves are the shell suite's; here the real process
// shows that its window, its message loop and its exit code fit together.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

TEST(FullScreenRun, ASecondSaverBringsTheFirstForwardAndEndsAndAKeyEndsTheFirst) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    ASSERT_EQ(FindFullScreenSaver(), nullptr) << "a saver from an earlier test is still running";
    SetCursorPos(300, 300);
    RunningProcess first(GleamoPath(), "/s");
    ASSERT_TRUE(first.Started());
    HWND window = WaitForSaverOf(first);
    ASSERT_NE(window, nullptr);

    RunningProcess second(GleamoPath(), "-S");
    DWORD exitCode = 0xDEAD;
    ASSERT_TRUE(second.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindFullScreenSaver(), window) << "the first saver keeps running";

    PressKey(VK_SHIFT);
    ASSERT_TRUE(first.WaitForExit(END_LIMIT_MS, exitCode)) << "a key did not end the saver";
    EXPECT_EQ(exitCode, 0u);
}

TEST(PreviewRun, RunsInsideTheHostAndEndsWithIt) {
    ASSERT_FALSE(GleamoPath().empty());
    HWND host = CreateWindowExA(0, "STATIC", "display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                                170, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    RunningProcess preview(GleamoPath(), "/p " + std::to_string(reinterpret_cast<UINT_PTR>(host)));
    ASSERT_TRUE(WaitUntil(START_LIMIT_MS, [&] {
        return FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview") != nullptr;
    }));
    DWORD exitCode = 0xDEAD;
    EXPECT_FALSE(preview.WaitForExit(500, exitCode)) << "the preview ended with its host still there";

    DestroyWindow(host);
    ASSERT_TRUE(preview.WaitForExit(END_LIMIT_MS, exitCode)) << "the preview outlived its host";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
