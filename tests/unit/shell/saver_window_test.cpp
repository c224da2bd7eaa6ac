#include "shell/saver_window.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/password_verifier.h"
#include "shell/shell_state.h"

namespace {

// Takes a WM_CLOSE that the window posted to itself, if any.
bool TakePostedClose(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

// Dispatches what is queued (mouse moves that SetCursorPos produces among it),
// so that only what a test sends afterwards is looked at.
void Drain() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_CLOSE) {
            DispatchMessageA(&message);
        }
    }
}

class FullScreenSaver : public testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(200, 200);
        window = CreateSaverWindow(nullptr);
        ASSERT_NE(window, nullptr);
        Drain();
    }
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        Drain();
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    // Sends a mouse move after putting the cursor at (x, y). The move the
    // system queues for the cursor change is left in the queue.
    bool MouseAt(int x, int y) {
        SetCursorPos(x, y);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        return TakePostedClose(window);
    }

    HWND window = nullptr;
};

TEST_F(FullScreenSaver, CoversTheScreenAsATopmostPopupOfTheSaverClass) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "WindowsScreenSaverClass");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_CHILD | WS_CAPTION), 0);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT area = {};
    GetWindowRect(window, &area);
    EXPECT_EQ(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom - area.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(FindRunningSaver(), window);
    EXPECT_FALSE(SaverWindowState().isPreview);

    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other")), 0);
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver") << "the title never changes";
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
}

TEST_F(FullScreenSaver, MouseJitterOfFourPixelsStaysAndFiveClose) {
    EXPECT_FALSE(MouseAt(202, 202)) << "2 right and 2 down is jitter";
    EXPECT_FALSE(MouseAt(196, 200)) << "4 left is jitter";
    EXPECT_TRUE(MouseAt(203, 202)) << "3 right and 2 down closes";
    // The measure restarts from where the closing move ended.
    EXPECT_FALSE(MouseAt(205, 204));
    EXPECT_TRUE(MouseAt(203, 207));
}

TEST_F(FullScreenSaver, KeysButtonsDeactivationAndPowerEventsClose) {
    const UINT closing[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    for (UINT message : closing) {
        SendMessageA(window, message, 0, 0);
        EXPECT_TRUE(TakePostedClose(window)) << std::hex << message;
    }
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(TakePostedClose(window)) << "activation keeps it";
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(TakePostedClose(window)) << "deactivation closes";
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(TakePostedClose(window));
    SendMessageA(window, WM_POWER, PWR_SUSPENDRESUME, 0);
    EXPECT_FALSE(TakePostedClose(window));
    SendMessageA(window, WM_POWER, PWR_CRITICALRESUME, 0);
    EXPECT_TRUE(TakePostedClose(window));
    SendMessageA(window, WM_KEYUP, 0, 0);
    EXPECT_FALSE(TakePostedClose(window)) << "a key release alone does not close";
}

TEST_F(FullScreenSaver, OnTheNtFamilyCloseEndsTheWindowAtOnce) {
    ASSERT_FALSE(Shell().isWin9x);
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(TakePostedClose(window));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "destruction ends the message loop";
}

// --- the 95/98 password path, played through the test seam ---

struct Prompt {
    int calls = 0;
    BOOL answer = FALSE;
    HWND window = nullptr;
    bool inputDuringPrompt = false;
    bool closeDuringPrompt = false;
};
Prompt prompt;

BOOL WINAPI FakeVerify(HWND window) {
    ++prompt.calls;
    prompt.window = window;
    if (prompt.inputDuringPrompt) {
        SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    }
    if (prompt.closeDuringPrompt) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    }
    return prompt.answer;
}

class Win9xSaver : public FullScreenSaver {
protected:
    void SetUp() override {
        Shell().isWin9x = true;
        FullScreenSaver::SetUp();
        prompt = Prompt();
        SetPasswordVerifierForTest(FakeVerify);
    }
    void TearDown() override {
        SetPasswordVerifierForTest(nullptr);
        FullScreenSaver::TearDown();
        Shell().isWin9x = false;
    }

    // Waits until the pause after a refused prompt has passed. The rule is
    // about elapsed time, so this one wait is part of what is tested.
    static void WaitOutPromptPause() { Sleep(250); }
};

TEST_F(Win9xSaver, ARefusedPasswordKeepsTheSaverRunning) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_EQ(prompt.window, window);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SaverWindowState().closeGranted, 0u);
    EXPECT_FALSE(SaverWindowState().verifyingPassword);
}

TEST_F(Win9xSaver, NoSecondPromptWithin200msOfARefusal) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 1) << "the second close came at once and was refused silently";
    EXPECT_TRUE(IsWindow(window));

    WaitOutPromptPause();
    prompt.answer = TRUE;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 2);
    EXPECT_FALSE(IsWindow(window)) << "an accepted password closes";
}

TEST_F(Win9xSaver, ARefusalRestartsTheMouseMeasureFromTheCursor) {
    SetCursorPos(300, 300);
    Drain();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(SaverWindowState().startCursor.x, 300);
    EXPECT_EQ(SaverWindowState().startCursor.y, 300);
    EXPECT_FALSE(MouseAt(302, 302));
}

TEST_F(Win9xSaver, InputAndCloseRequestsDuringThePromptAreIgnored) {
    prompt.inputDuringPrompt = true;
    prompt.closeDuringPrompt = true;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(prompt.calls, 1) << "a close during the prompt brings no second prompt";
    EXPECT_FALSE(TakePostedClose(window)) << "input during the prompt does not ask to close";
    EXPECT_TRUE(IsWindow(window));
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
    SetPasswordVerifierForTest(nullptr);
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1) << "no verifier: closing is allowed";
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

// --- preview ---

class PreviewSaver : public testing::Test {
protected:
    void SetUp() override {
        host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 180, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        window = CreateSaverWindow(host);
        ASSERT_NE(window, nullptr);
        Drain();
    }
    void TearDown() override {
        DestroyWindow(host);
        Drain();
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    HWND host = nullptr;
    HWND window = nullptr;
};

TEST_F(PreviewSaver, FillsTheHostAsAChildTitledPreview) {
    EXPECT_EQ(GetParent(window), host);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Preview");
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT hostArea = {}, area = {};
    GetClientRect(host, &hostArea);
    GetClientRect(window, &area);
    EXPECT_EQ(area.right, hostArea.right);
    EXPECT_EQ(area.bottom, hostArea.bottom);
    EXPECT_TRUE(SaverWindowState().isPreview);
    EXPECT_EQ(FindRunningSaver(), nullptr) << "a preview is not a running full-screen saver";
}

TEST_F(PreviewSaver, InputNeverClosesIt) {
    const UINT messages[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                             WM_POWERBROADCAST};
    for (UINT message : messages) {
        SendMessageA(window, message, 0, 0);
    }
    SetCursorPos(0, 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    SetCursorPos(500, 500);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
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

TEST_F(PreviewSaver, EndsWhenTheHostIsDestroyed) {
    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    host = nullptr;
}

}  // namespace
