#include "shell/saver_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records which mode the dispatch started, with which window.
struct Started {
    std::string mode;
    HWND window = nullptr;
    int calls = 0;
};
Started started;

constexpr int DIALOG_RESULT = 11;
constexpr int SAVER_RESULT = 22;

int RecordSettings(HWND owner) {
    started = {"settings", owner, started.calls + 1};
    return DIALOG_RESULT;
}
int RecordSaver(HWND parent) {
    started = {"saver", parent, started.calls + 1};
    return SAVER_RESULT;
}
void RecordPassword(HWND parent) {
    started = {"password", parent, started.calls + 1};
}
const SaverModes recording = {RecordSettings, RecordSaver, RecordPassword};

class SaverEntryTest : public testing::Test {
protected:
    void SetUp() override {
        started = Started();
        window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        handleText = std::to_string(reinterpret_cast<UINT_PTR>(window));
        destroyed = CreateWindowExA(0, "STATIC", "gone", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        deadText = std::to_string(reinterpret_cast<UINT_PTR>(destroyed));
        DestroyWindow(destroyed);
    }
    void TearDown() override { DestroyWindow(window); }

    int Dispatch(const std::string& arguments, bool isWin9x = false) {
        return DispatchSaverMode(arguments.c_str(), isWin9x, recording);
    }

    HWND window = nullptr;
    HWND destroyed = nullptr;
    std::string handleText;
    std::string deadText;
};

TEST_F(SaverEntryTest, NoArgumentsOpenTheSettingsWithoutAnOwner) {
    EXPECT_EQ(Dispatch(""), DIALOG_RESULT);
    EXPECT_EQ(started.mode, "settings");
    EXPECT_EQ(started.window, nullptr);
    EXPECT_EQ(Dispatch("  /"), DIALOG_RESULT);
    EXPECT_EQ(started.window, nullptr);
}

TEST_F(SaverEntryTest, TheSaverSwitchRunsFullScreenInEveryForm) {
    for (const char* arguments : {"/s", "-S", "S", " /s 1234"}) {
        started = Started();
        EXPECT_EQ(Dispatch(arguments), SAVER_RESULT) << arguments;
        EXPECT_EQ(started.mode, "saver") << arguments;
        EXPECT_EQ(started.window, nullptr) << arguments;
    }
}

TEST_F(SaverEntryTest, SettingsAreOwnedByTheGivenWindowOrElseTheForegroundOne) {
    EXPECT_EQ(Dispatch("/c:" + handleText), DIALOG_RESULT);
    EXPECT_EQ(started.window, window);

    SetForegroundWindow(window);
    const HWND foreground = GetForegroundWindow();
    for (const std::string& arguments : {std::string("/c"), "/c:" + deadText, std::string("/c:0"),
                                         std::string("/c:"), "/c " + handleText}) {
        started = Started();
        EXPECT_EQ(Dispatch(arguments), DIALOG_RESULT) << arguments;
        EXPECT_EQ(started.mode, "settings") << arguments;
        EXPECT_EQ(started.window, foreground) << arguments;
    }
}

TEST_F(SaverEntryTest, PreviewRunsInsideAnExistingWindowOnly) {
    EXPECT_EQ(Dispatch("/p " + handleText), SAVER_RESULT);
    EXPECT_EQ(started.mode, "saver");
    EXPECT_EQ(started.window, window);

    started = Started();
    EXPECT_EQ(Dispatch("/l   " + handleText), SAVER_RESULT);
    EXPECT_EQ(started.window, window);

    started = Started();
    EXPECT_EQ(Dispatch("-P" + handleText + " trailing words"), SAVER_RESULT);
    EXPECT_EQ(started.window, window);

    started = Started();
    for (const std::string& arguments : {"/p:" + handleText, "/p " + deadText, std::string("/p"),
                                         std::string("/p 0"), "/p\t" + handleText}) {
        EXPECT_EQ(Dispatch(arguments), -1) << arguments;
    }
    EXPECT_EQ(started.calls, 0) << "a refused preview starts nothing";
}

TEST_F(SaverEntryTest, PasswordChangeOnlyOnThe9xFamily) {
    EXPECT_EQ(Dispatch("/a " + handleText, false), -1);
    EXPECT_EQ(started.calls, 0);

    EXPECT_EQ(Dispatch("/a " + handleText, true), 0);
    EXPECT_EQ(started.mode, "password");
    EXPECT_EQ(started.window, window);

    SetForegroundWindow(window);
    EXPECT_EQ(Dispatch("/A", true), 0);
    EXPECT_EQ(started.window, GetForegroundWindow());
}

TEST_F(SaverEntryTest, UnknownSwitchesAreRefusedAndStartNothing) {
    for (const char* arguments : {"/x", "\t/s", "/1", "?", "\x95\x5c"}) {
        EXPECT_EQ(Dispatch(arguments), -1) << arguments;
    }
    EXPECT_EQ(started.calls, 0);
}

TEST(ParseWindowHandle, TheDecimalValueIsTheHandle) {
    EXPECT_EQ(ParseWindowHandle("1234"), reinterpret_cast<HWND>(1234));
    EXPECT_EQ(ParseWindowHandle(":1234"), nullptr);
    EXPECT_EQ(ParseWindowHandle(""), nullptr);
}

}  // namespace
