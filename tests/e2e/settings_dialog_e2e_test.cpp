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

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM context) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialogOf(const RunningProcess& process) {
    DialogSearch search = {process.Id(), nullptr};
    WaitUntil(OPEN_LIMIT_MS, [&] {
        EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

// The settings file beside gleamo.scr, put back as it was when the test ends.
class SettingsDialogRun : public testing::Test {
protected:
    void SetUp() override {
        program = GleamoPath();
        ASSERT_FALSE(program.empty()) << "GLEAMO_SCR is not set";
        // The path may come with either kind of separator.
        iniPath = program.substr(0, program.find_last_of("\\/") + 1) + "gleamo.ini";
        hadFile = FileExists(iniPath);
        before = ReadFileBytes(iniPath);
    }
    void TearDown() override {
        if (hadFile) {
            WriteFileBytes(iniPath, before);
        } else {
            DeleteFileA(iniPath.c_str());
        }
    }

    std::string program;
    std::string iniPath;
    bool hadFile = false;
    std::string before;
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

    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, KEPT);
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

    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, SAVED);
    char scale[16] = {};
    GetPrivateProfileStringA("Effect", "Scale", "", scale, sizeof scale, iniPath.c_str());
    EXPECT_STREQ(scale, "64") << ReadFileBytes(iniPath);
}

}  // namespace
