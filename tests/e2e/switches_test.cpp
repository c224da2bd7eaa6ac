// gleamo.scr started with each kind of switch, as the system starts it. The
// rules behind each mode are the unit suites'; these runs show that the real
// program's windows, message loops and exit codes fit together.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"
#include "support/test_files.h"

namespace {

constexpr DWORD START_LIMIT_MS = 20000, END_LIMIT_MS = 10000, REFUSED = static_cast<DWORD>(-1), SAVED = 1;

HWND WaitForWindowOf(const RunningProcess& process, const char* className, const char* title = nullptr) {
    HWND found = nullptr;
    WaitUntil(START_LIMIT_MS, [&] { return (found = VisibleWindowOf(process, className, title)) != nullptr; });
    return found;
}

HWND ShowHostWindow() {
    return CreateWindowExA(0, "STATIC", "display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 170,
                           nullptr, nullptr, nullptr, nullptr);
}

class Switches : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(program.empty()) << "GLEAMO_SCR is not set"; }

    const std::string program = GleamoPath();
};

// A password change outside the 95/98 family (the one check of the real
// platform detection), and a preview in a host that has collapsed to no
// height, as the system may start one: there is nothing to show in it, and no
// user to answer an error box.
TEST_F(Switches, RefusedOnesEndAtOnceWithMinusOneAndShowNothing) {
    HWND flat = CreateWindowExA(0, "STATIC", "display settings", WS_POPUP | WS_VISIBLE, 50, 50, 200, 0, nullptr,
                                nullptr, nullptr, nullptr);
    RECT client = {};
    ASSERT_TRUE(GetClientRect(flat, &client));
    ASSERT_EQ(client.bottom, 0);
    const std::string flatHost = std::to_string(reinterpret_cast<UINT_PTR>(flat));
    for (const std::string& arguments : {std::string("/a 1234"), "/p " + flatHost}) {
        const ProcessOutcome outcome = RunAndWatch(program, arguments, START_LIMIT_MS);
        EXPECT_TRUE(outcome.finished) << arguments << " is still running: something is waiting for a user";
        EXPECT_EQ(outcome.exitCode, REFUSED) << arguments;
        EXPECT_EQ(outcome.visibleWindowsSeen, 0) << arguments;
    }
    DestroyWindow(flat);
}

TEST_F(Switches, ASecondFullScreenSaverBringsTheFirstForwardAndEnds) {
    ASSERT_EQ(FindWindowA("WindowsScreenSaverClass", "Screen Saver"), nullptr) << "a saver is still running";
    SetCursorPos(300, 300);
    RunningProcess first(program, "/s");
    HWND window = WaitForWindowOf(first, "WindowsScreenSaverClass", "Screen Saver");
    ASSERT_NE(window, nullptr);

    RunningProcess second(program, "-S");
    DWORD exitCode = 0xDEAD;
    ASSERT_TRUE(second.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindWindowA("WindowsScreenSaverClass", "Screen Saver"), window) << "the first saver keeps running";

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(Switches, APreviewRunsInsideItsHostAndEndsWithIt) {
    HWND host = ShowHostWindow();
    ASSERT_NE(host, nullptr);
    RunningProcess preview(program, "/p " + std::to_string(reinterpret_cast<UINT_PTR>(host)));
    ASSERT_TRUE(WaitUntil(START_LIMIT_MS, [&] {
        return FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview") != nullptr;
    }));
    DWORD exitCode = 0xDEAD;
    EXPECT_FALSE(preview.WaitForExit(500, exitCode)) << "the preview ended with its host still there";

    DestroyWindow(host);
    ASSERT_TRUE(preview.WaitForExit(END_LIMIT_MS, exitCode)) << "the preview outlived its host";
    EXPECT_EQ(exitCode, 0u);
}

// Cancel, and the dialog without an owner, are the unit suites' to check.
TEST_F(Switches, TheConfigureSwitchOpensTheSettingsOverTheForegroundWindowAndOkWritesTheFile) {
    // The settings file lies beside gleamo.scr; the path may come with either kind of separator.
    const std::string iniPath = program.substr(0, program.find_last_of("\\/") + 1) + "gleamo.ini";
    DeleteFileA(iniPath.c_str());
    HWND host = ShowHostWindow();
    ASSERT_NE(host, nullptr);
    SetForegroundWindow(host);
    WaitUntil(END_LIMIT_MS, [&] { return GetForegroundWindow() == host; });

    RunningProcess saver(program, "/c");
    HWND dialog = WaitForWindowOf(saver, "#32770");
    ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);

    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, SAVED);
    char scale[16] = {};
    GetPrivateProfileStringA("Effect", "Scale", "", scale, sizeof scale, iniPath.c_str());
    EXPECT_STREQ(scale, "64") << ReadFileBytes(iniPath);
    DeleteFileA(iniPath.c_str());
    DestroyWindow(host);
}

}  // namespace
