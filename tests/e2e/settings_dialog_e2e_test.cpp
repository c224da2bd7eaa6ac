// gleamo.scr showing its settings dialog, as the display settings start it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"
#include "support/test_files.h"

namespace {

constexpr DWORD OPEN_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr DWORD SAVED = 1;
constexpr DWORD KEPT = 2;

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

// Presses a button of the dialog; the exit code, or 0 when the program did not end.
DWORD PressAndWaitForExit(RunningProcess& saver, HWND dialog, int button) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    DWORD exitCode = 0;
    return saver.WaitForExit(END_LIMIT_MS, exitCode) ? exitCode : 0;
}

// The settings file beside gleamo.scr; the build folder is the test's own.
class SettingsDialogRun : public testing::Test {
protected:
    void SetUp() override {
        program = GleamoPath();
        ASSERT_FALSE(program.empty()) << "GLEAMO_SCR is not set";
        // The path may come with either kind of separator.
        iniPath = program.substr(0, program.find_last_of("\\/") + 1) + "gleamo.ini";
    }
    void TearDown() override { DeleteFileA(iniPath.c_str()); }

    std::string program;
    std::string iniPath;
};

TEST_F(SettingsDialogRun, TheConfigureSwitchOpensTheDialogOverTheForegroundWindowAndCancelKeepsTheFile) {
    ASSERT_TRUE(WriteFileBytes(iniPath, "[Effect]\r\nScale=0\r\n; kept as written\r\n"));
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

    EXPECT_EQ(PressAndWaitForExit(saver, dialog, IDCANCEL), KEPT);
    EXPECT_EQ(ReadFileBytes(iniPath), "[Effect]\r\nScale=0\r\n; kept as written\r\n");
    DestroyWindow(host);
}

TEST_F(SettingsDialogRun, WithoutASwitchTheDialogHasNoOwnerAndOkWritesTheFile) {
    DeleteFileA(iniPath.c_str());
    RunningProcess saver(program, "");
    ASSERT_TRUE(saver.Started());
    HWND dialog = WaitForDialogOf(saver);
    ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);

    EXPECT_EQ(PressAndWaitForExit(saver, dialog, IDOK), SAVED);
    char scale[16] = {};
    GetPrivateProfileStringA("Effect", "Scale", "", scale, sizeof scale, iniPath.c_str());
    EXPECT_STREQ(scale, "64") << ReadFileBytes(iniPath);
}

}  // namespace
