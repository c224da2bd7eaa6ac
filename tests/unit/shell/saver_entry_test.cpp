#include "shell/saver_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each recorded mode answers with a result of its own; the dispatch itself
// answers 0 after a password change and -1 when it refuses.
enum Result { PASSWORD = 0, SETTINGS = 11, SAVER = 22, REFUSED = -1 };

// Which mode the dispatch started, with which window, and how often.
struct Started {
    Result mode = REFUSED;
    HWND window = nullptr;
    int calls = 0;
};
Started started;

const SaverModes recording = {
    [](HWND owner) -> int { return (started = {SETTINGS, owner, started.calls + 1}).mode; },
    [](HWND parent) -> int { return (started = {SAVER, parent, started.calls + 1}).mode; },
    [](HWND parent) { started = {PASSWORD, parent, started.calls + 1}; },
};

enum Window { NONE, GIVEN, FOREGROUND };

TEST(SaverEntry, EachSwitchStartsItsModeWithItsWindowOrIsRefusedAndStartsNothing) {
    HWND given = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND destroyed = CreateWindowExA(0, "STATIC", "gone", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(given, nullptr);
    const std::string givenText = std::to_string(reinterpret_cast<UINT_PTR>(given));
    const std::string deadText = std::to_string(reinterpret_cast<UINT_PTR>(destroyed));
    DestroyWindow(destroyed);
    // Another window in front, so that the given and the foreground window differ.
    HWND front = CreateWindowExA(0, "STATIC", "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(front);
    ASSERT_EQ(GetForegroundWindow(), front);

    // '#' stands for the existing window's handle, '!' for the destroyed one's.
    // The plain switches of each mode are the e2e suite's runs of the program.
    const struct {
        const char* arguments;
        bool isWin9x;
        Result result;
        Window window;
    } cases[] = {
        {"  /", false, SETTINGS, NONE}, {" /s 1234", false, SAVER, NONE}, {"\t/s", false, REFUSED, NONE},
        // Settings are owned by the given window, else by the foreground one.
        {"/c:#", false, SETTINGS, GIVEN}, {"/c:!", false, SETTINGS, FOREGROUND}, {"/c #", false, SETTINGS, FOREGROUND},
        // A preview runs inside an existing window only.
        {"/l   #", false, SAVER, GIVEN}, {"-P# trailing words", false, SAVER, GIVEN},
        {"/p !", false, REFUSED, NONE}, {"/p:#", false, REFUSED, NONE}, {"/p\t#", false, REFUSED, NONE},
        // The password change exists on the 95/98 family only.
        {"/a #", true, PASSWORD, GIVEN}, {"/A", true, PASSWORD, FOREGROUND},
    };
    for (const auto& c : cases) {
        std::string arguments = c.arguments;
        for (size_t at; (at = arguments.find_first_of("#!")) != std::string::npos;) {
            arguments.replace(at, 1, arguments[at] == '#' ? givenText : deadText);
        }
        started = Started();
        EXPECT_EQ(DispatchSaverMode(arguments.c_str(), c.isWin9x, recording), c.result) << arguments;
        EXPECT_EQ(started.mode, c.result) << arguments;
        EXPECT_EQ(started.calls, c.result == REFUSED ? 0 : 1) << arguments;
        EXPECT_EQ(started.window, c.window == GIVEN ? given : c.window == FOREGROUND ? front : nullptr)
            << arguments;
    }
    DestroyWindow(front);
    DestroyWindow(given);
}

}  // namespace
