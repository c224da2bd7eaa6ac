#include "shell/saver_window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/test_hooks.h"
#include "engine/slideshow_window.h"
#include "shell/password_verifier.h"
#include "base/program_facts.h"

namespace {

// Takes a WM_CLOSE that the window posted to itself, if any.
bool TakePostedClose(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

// Dispatches what is queued (mouse moves that SetCursorPos produces among it),
// so that only what a test sends afterwards is looked at. A WM_QUIT left by a
// destroyed window goes too.
void Drain() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_CLOSE) {
            DispatchMessageA(&message);
        }
    }
}

// Full screen unless a test's host is made first, as the preview's is.
// Closing on the NT family, and a preview ending with its host, are shown by
// the e2e suite's runs of the real program.
class SaverWindow : public testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(200, 200);
        window = CreateSaverWindow(host);
        ASSERT_NE(window, nullptr);
        Drain();
    }
    void TearDown() override {
        DestroyWindow(host != nullptr ? host : window);  // a child goes with its host
        Drain();
    }

    // Sends a mouse move after putting the cursor at (x, y). The move the
    // system queues for the cursor change is left in the queue.
    bool MouseAt(int x, int y) {
        SetCursorPos(x, y);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        return TakePostedClose(window);
    }

    HWND host = nullptr, window = nullptr;
};

class FullScreenSaver : public SaverWindow {};

// Its title is what the system and a second saver find a running one by; its
// class, title and size are seen in the e2e suite's runs.
TEST_F(FullScreenSaver, StaysTopmostKeepsItsTitleAndHidesTheCursor) {
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other")), 0);
    EXPECT_EQ(FindRunningSaver(), window) << "the title never changes";
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
}

std::vector<WPARAM> commandsPassedOn;

LRESULT CALLBACK NoteSystemCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND) {
        commandsPassedOn.push_back(wParam);
        return 0;
    }
    return SaverDefaultProc(window, message, wParam, lParam);
}

// A second screen saver and task switching never reach the default handling
// while full screen; other system commands do.
TEST_F(FullScreenSaver, SwallowsTheScreenSaveAndTaskSwitchCommands) {
    commandsPassedOn.clear();
    SetSlideshowFallback(NoteSystemCommand);
    for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE | 2, SC_KEYMENU}) {
        EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0);
    }
    SetSlideshowFallback(SaverDefaultProc);
    EXPECT_EQ(commandsPassedOn, std::vector<WPARAM>{SC_KEYMENU});
}

TEST_F(FullScreenSaver, MouseJitterOfFourPixelsStaysAndFiveClose) {
    EXPECT_FALSE(MouseAt(202, 202)) << "2 right and 2 down is jitter";
    EXPECT_FALSE(MouseAt(196, 200)) << "4 left is jitter";
    EXPECT_TRUE(MouseAt(203, 202)) << "3 right and 2 down closes";
    // The measure restarts from where the closing move ended.
    EXPECT_FALSE(MouseAt(205, 204));
    EXPECT_TRUE(MouseAt(203, 207));
}

TEST_F(FullScreenSaver, KeysButtonsWheelsDeactivationAndPowerEventsClose) {
    const struct {
        UINT message;
        WPARAM wParam;
        bool closes;
    } cases[] = {{WM_KEYDOWN, 0, true}, {WM_SYSKEYDOWN, 0, true}, {WM_LBUTTONDOWN, 0, true},
                 {WM_RBUTTONDOWN, 0, true}, {WM_MBUTTONDOWN, 0, true}, {WM_KEYUP, 0, false},
                 {WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), true}, {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), true},
                 {WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), true}, {WM_ACTIVATEAPP, TRUE, false},
                 {WM_ACTIVATEAPP, FALSE, true}, {WM_POWER, PWR_SUSPENDRESUME, false},
                 {WM_POWER, PWR_CRITICALRESUME, true}, {WM_POWERBROADCAST, PBT_APMSUSPEND, true},
                 {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true}, {WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, false},
                 {WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, false}};
    for (const auto& c : cases) {
        SendMessageA(window, c.message, c.wParam, 0);
        EXPECT_EQ(TakePostedClose(window), c.closes) << std::hex << c.message << " " << c.wParam;
    }
}

struct Prompt {
    int calls = 0;
    BOOL answer = FALSE;
    HWND window = nullptr;
    bool inputAndCloseDuringPrompt = false;
};
Prompt prompt;

BOOL WINAPI FakeVerify(HWND window) {
    ++prompt.calls;
    prompt.window = window;
    if (prompt.inputAndCloseDuringPrompt) {
        SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
        SendMessageA(window, WM_CLOSE, 0, 0);
    }
    return prompt.answer;
}

class Win9xSaver : public FullScreenSaver {
protected:
    void SetUp() override {
        Program().isWin9x = true;
        FullScreenSaver::SetUp();
        prompt = Prompt();
        Hooks().verifyPassword = FakeVerify;
    }
    void TearDown() override {
        FullScreenSaver::TearDown();
        Program().isWin9x = false;
    }
};

// Input and a close request that come during the prompt are ignored.
TEST_F(Win9xSaver, ARefusedPasswordKeepsTheSaverAndNoSecondPromptComesWithin200ms) {
    prompt.inputAndCloseDuringPrompt = true;
    SetCursorPos(300, 300);
    Drain();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 1) << "a close during the prompt brings no second prompt";
    EXPECT_FALSE(TakePostedClose(window)) << "input during the prompt does not ask to close";
    EXPECT_EQ(prompt.window, window);
    EXPECT_EQ(SaverWindowState().closeGranted, 0u);
    EXPECT_FALSE(SaverWindowState().verifyingPassword);
    // The mouse measure restarts from where the cursor was at the refusal.
    EXPECT_EQ(SaverWindowState().startCursor.x, 300);
    EXPECT_EQ(SaverWindowState().startCursor.y, 300);
    EXPECT_FALSE(MouseAt(302, 302));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 1) << "the second close came at once and was refused silently";
    EXPECT_TRUE(IsWindow(window));

    // The rule is about elapsed time, so this one wait is part of what is tested.
    Sleep(250);
    prompt.answer = TRUE;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 2);
    EXPECT_FALSE(IsWindow(window)) << "an accepted password closes";
}

TEST_F(Win9xSaver, OnceGrantedInputGoesStraightToTheDefaultHandling) {
    prompt.answer = TRUE;
    EXPECT_NE(VerifyBeforeClose(window), 0u);
    EXPECT_NE(SaverWindowState().closeGranted, 0u);
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(TakePostedClose(window));
    EXPECT_EQ(SendMessageA(window, WM_TIMER, 1, 0), 0);
    EXPECT_EQ(VerifyBeforeClose(window), 0u) << "no prompt once closing is granted";
    EXPECT_EQ(prompt.calls, 1);
}

TEST_F(Win9xSaver, WithoutAVerifierCloseIsGrantedWithoutAPrompt) {
    prompt.answer = TRUE;
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), TRUE) << "the verify message asks the verifier";
    Hooks().verifyPassword = nullptr;
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1) << "no verifier: closing is allowed";
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

class PreviewSaver : public SaverWindow {
protected:
    void SetUp() override {
        host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 180, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        SaverWindow::SetUp();
    }
};

// Its class, title and place under the host are seen in the e2e suite's runs.
TEST_F(PreviewSaver, FillsTheHostAndInputNeverClosesIt) {
    RECT hostArea = {}, area = {};
    GetClientRect(host, &hostArea);
    GetClientRect(window, &area);
    EXPECT_EQ(std::make_pair(area.right, area.bottom), std::make_pair(hostArea.right, hostArea.bottom));

    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN,
                         WM_MOUSEWHEEL, WM_MOUSEHWHEEL, WM_POWERBROADCAST}) {
        SendMessageA(window, message, 0, 0);
    }
    EXPECT_FALSE(MouseAt(0, 0));
    EXPECT_FALSE(MouseAt(500, 500));
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(TakePostedClose(window));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(PreviewSaver, HelpAndContextMenuGoToTheHost) {
    EXPECT_EQ(SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(5, 6)), 1);
    MSG posted;
    ASSERT_TRUE(PeekMessageA(&posted, host, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE));
    EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(host));
    EXPECT_EQ(posted.lParam, MAKELPARAM(5, 6));

    // WM_HELP is forwarded the same way; Wine refuses to post it (its lParam
    // is a pointer), so only the answer is checked here.
    HELPINFO help = {};
    help.cbSize = sizeof help;
    EXPECT_EQ(SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
}

}  // namespace
