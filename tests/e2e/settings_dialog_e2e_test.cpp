// gleamo.scr showing its settings dialog, as the display settings start it.
// Cancel, and the dialog without an owner, are the unit suites' to check.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"
#include "support/test_files.h"

namespace {

constexpr DWORD OPEN_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr DWORD SAVED = 1;

// The visible dialog of a process, waited for.
HWND WaitForDialogOf(const RunningProcess& process) {
    HWND found = nullptr;
    WaitUntil(OPEN_LIMIT_MS, [&] {
        for (found = FindWindowExA(nullptr, nullptr, "#32770", nullptr); found != nullptr;
             found = FindWindowExA(nullptr, found, "#32770", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == process.Id() && IsWindowVisible(found)) {
                return true;
            }
        }
        return false;
    });
    return found;
}

TEST(SettingsDialogRun, TheConfigureSwitchOpensTheDialogOverTheForegroundWindowAndOkWritesTheFile) {
    const std::string program = GleamoPath();
    ASSERT_FALSE(program.empty()) << "GLEAMO_SCR is not set";
    // The settings file lies beside gleamo.scr; the path may come with either kind of separator.
    const std::string iniPath = program.substr(0, program.find_last_of("\\/") + 1) + "gleamo.ini";
    DeleteFileA(iniPath.c_str());
    HWND host = CreateWindowExA(0, "STATIC", "display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    SetForegroundWindow(host);
    WaitUntil(END_LIMIT_MS, [&] { return GetForegroundWindow() == host; });

    RunningProcess saver(program, "/c");
    ASSERT_TRUE(saver.Started());
    HWND dialog = WaitForDialogOf(saver);
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
