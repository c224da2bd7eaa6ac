#include "shell/saver_window.h"

#include <cstdlib>

#include "base/procedure_lookup.h"
#include "base/program_facts.h"
#include "engine/slideshow_window.h"
#include "shell/password_verifier.h"

namespace {

constexpr char CLASS_NAME[] = "WindowsScreenSaverClass";
constexpr char FULL_SCREEN_TITLE[] = "Screen Saver";
constexpr char PREVIEW_TITLE[] = "Preview";
constexpr UINT CLASS_STYLE = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The class asks for icon 100, which the program does not carry (its icon is
// 104): the saver window has no icon of its own.
constexpr WORD CLASS_ICON_ID = 100;
constexpr int NO_WINDOW = -1;
// Mouse travel (horizontal plus vertical pixels) that still counts as jitter.
constexpr unsigned MOUSE_JITTER = 4;
constexpr DWORD NEVER = 0xFFFFFFFF;
// After a refused password, a close request this soon brings no new prompt.
constexpr DWORD PROMPT_PAUSE_MS = 200;
// The low four bits of a system command are the system's own.
constexpr WPARAM SYSTEM_COMMAND_MASK = 0xFFF0;

typedef HIMC(WINAPI* ImmAssociateContextFn)(HWND window, HIMC context);

struct SaverWindowShell {
    HWND window = nullptr;
    bool isPreview = false;
    UINT_PTR closeGranted = 0;
    bool verifyingPassword = false;
    POINT startCursor = {};
    DWORD lastVerifyTick = NEVER;
    UINT autoPlayMessage = 0;
    HMODULE imm = nullptr;
    ImmAssociateContextFn immAssociate = nullptr;
    HIMC previousContext = nullptr;
};

SaverWindowShell& Saver() {
    static SaverWindowShell state;
    return state;
}

void HideCursor() {
    SetCursor(nullptr);
}

void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

bool IsInputMessage(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            return true;
        default:
            return false;
    }
}

// Suspend, resume and the like end the saver. A laptop reports every step of
// its charge and every plug of the charger, and the newer systems their power
// settings, through the same message: those are no reason to stop.
bool PowerEventEndsSaver(WPARAM event) {
    switch (event) {
        case PBT_APMPOWERSTATUSCHANGE:
        case PBT_POWERSETTINGCHANGE:
            return false;
        default:
            return true;
    }
}

// --- SaverShellProc handlers ---

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverWindowShell& s = Saver();
    // Only an input method the process already uses is detached; the library
    // is never loaded for this.
    s.imm = GetModuleHandleA("IMM32.DLL");
    if (s.imm != nullptr) {
        s.immAssociate = ProcedureOf<ImmAssociateContextFn>(s.imm, "ImmAssociateContext");
        if (s.immAssociate != nullptr) {
            s.previousContext = s.immAssociate(window, nullptr);
        }
    }
    GetCursorPos(&s.startCursor);
    if (!s.isPreview) {
        HideCursor();
    }
    return SlideshowWindowProc(window, message, wParam, lParam);
}

LRESULT OnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverWindowShell& s = Saver();
    if (s.imm != nullptr && s.immAssociate != nullptr && s.previousContext != nullptr) {
        s.immAssociate(window, s.previousContext);
    }
    PostQuitMessage(0);
    return SlideshowWindowProc(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Saver().closeGranted) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!Saver().isPreview) {
        HideCursor();
    }
    return SlideshowWindowProc(window, message, wParam, lParam);
}

// In the preview, help and context menus belong to the host's dialog.
LRESULT OnHelpOrContextMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Saver().isPreview) {
        return SlideshowWindowProc(window, message, wParam, lParam);
    }
    HWND parent = GetParent(window);
    if (parent != nullptr && IsWindow(parent)) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
    return 1;
}

LRESULT OnInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Saver().closeGranted) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return SlideshowWindowProc(window, message, wParam, lParam);
}

// Task switching and a second screen saver are swallowed while full screen.
LRESULT OnSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Saver().isPreview) {
        switch (wParam & SYSTEM_COMMAND_MASK) {
            case SC_NEXTWINDOW:
            case SC_PREVWINDOW:
            case SC_SCREENSAVE:
                return 0;
            default:
                break;
        }
    }
    return SlideshowWindowProc(window, message, wParam, lParam);
}

LRESULT OnTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Saver().closeGranted) {
        return 0;
    }
    Sleep(0);
    return SlideshowWindowProc(window, message, wParam, lParam);
}

// --- SaverDefaultProc rules, full screen only ---

// Returns true when the message is fully handled and result is the answer.
bool ApplyCloseRule(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
    SaverWindowShell& s = Saver();
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                HideCursor();
            }
            return false;
        case WM_ACTIVATEAPP:
            if (wParam == 0) {
                PostClose(window);
            }
            return false;
        case WM_SETCURSOR:
            HideCursor();
            result = TRUE;
            return true;
        case WM_POWER:
            if (wParam == PWR_CRITICALRESUME) {
                PostClose(window);
            }
            return false;
        case WM_POWERBROADCAST:
            if (PowerEventEndsSaver(wParam)) {
                PostClose(window);
            }
            return false;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            PostClose(window);
            return false;
        case WM_MOUSEMOVE: {
            POINT now = {};
            GetCursorPos(&now);
            const unsigned distance = static_cast<unsigned>(std::abs(now.x - s.startCursor.x) +
                                                            std::abs(now.y - s.startCursor.y));
            if (distance > MOUSE_JITTER) {
                PostClose(window);
                s.startCursor = now;
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace

LRESULT CALLBACK SaverShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, message, wParam, lParam);
        case WM_DESTROY:
            return OnDestroy(window, message, wParam, lParam);
        case WM_SETTEXT:
            return 0;
        case WM_PAINT:
            return OnPaint(window, message, wParam, lParam);
        case WM_HELP:
        case WM_CONTEXTMENU:
            return OnHelpOrContextMenu(window, message, wParam, lParam);
        case WM_SYSCOMMAND:
            return OnSysCommand(window, message, wParam, lParam);
        case WM_TIMER:
            return OnTimer(window, message, wParam, lParam);
        default:
            if (IsInputMessage(message)) {
                return OnInput(window, message, wParam, lParam);
            }
            return SlideshowWindowProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverWindowShell& s = Saver();
    if (!s.isPreview && !s.closeGranted) {
        if (message == WM_CLOSE) {
            if (Program().isWin9x && !VerifyBeforeClose(window)) {
                GetCursorPos(&s.startCursor);
                return 0;
            }
        } else if (message == WM_APP) {
            if (Program().isWin9x) {
                VerifyPasswordFn verify = PasswordVerifier();
                return verify != nullptr ? verify(window) : 1;
            }
        } else if (!s.verifyingPassword) {
            LRESULT result = 0;
            if (ApplyCloseRule(window, message, wParam, result)) {
                return result;
            }
        }
    }
    // Tells the 95/98 shell to cancel AutoPlay while the saver runs.
    if (s.autoPlayMessage != 0 && message == s.autoPlayMessage) {
        PostClose(window);
        return PasswordVerifier() != nullptr ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

UINT_PTR VerifyBeforeClose(HWND window) {
    SaverWindowShell& s = Saver();
    if (s.verifyingPassword || s.closeGranted) {
        return 0;
    }
    if (PasswordVerifier() == nullptr) {
        s.closeGranted = 1;
        return 1;
    }
    if (s.lastVerifyTick != NEVER && GetTickCount() - s.lastVerifyTick < PROMPT_PAUSE_MS) {
        return s.closeGranted;
    }
    s.verifyingPassword = true;
    // Ticks queued before the prompt would only repaint behind it.
    MSG dropped;
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    s.closeGranted = static_cast<UINT_PTR>(SendMessageA(window, WM_APP, 0, 0));
    s.verifyingPassword = false;
    if (!s.closeGranted) {
        HideCursor();
    }
    s.lastVerifyTick = GetTickCount();
    return s.closeGranted;
}

HWND FindRunningSaver() {
    HWND running = FindWindowA(CLASS_NAME, FULL_SCREEN_TITLE);
    return (running != nullptr && IsWindow(running)) ? running : nullptr;
}

HWND CreateSaverWindow(HWND parent) {
    SaverWindowShell& s = Saver();
    s = SaverWindowShell();
    HINSTANCE instance = ProgramModule();

    WNDCLASSA windowClass = {};
    windowClass.style = CLASS_STYLE;
    windowClass.lpfnWndProc = SaverShellProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(CLASS_ICON_ID));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = CLASS_NAME;

    RECT area = {};
    DWORD style = 0;
    DWORD extendedStyle = 0;
    const char* title = nullptr;
    if (parent != nullptr) {
        GetClientRect(parent, &area);
        style = PREVIEW_STYLE;
        title = PREVIEW_TITLE;
        s.isPreview = true;
    } else {
        HDC screen = GetDC(nullptr);
        GetClipBox(screen, &area);
        ReleaseDC(nullptr, screen);
        style = FULL_SCREEN_STYLE;
        extendedStyle = WS_EX_TOPMOST;
        title = FULL_SCREEN_TITLE;
        LoadPasswordVerifier();
    }
    s.autoPlayMessage = Program().isWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    // A process that made a saver window before (only tests do) finds the
    // class registered already.
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    SetSlideshowFallback(SaverDefaultProc);
    s.window = CreateWindowExA(extendedStyle, CLASS_NAME, title, style, area.left, area.top,
                               area.right - area.left, area.bottom - area.top, parent, nullptr, instance,
                               nullptr);
    return s.window;
}

int RunSaverWindow(HWND parent) {
    if (parent == nullptr) {
        HWND running = FindRunningSaver();
        if (running != nullptr) {
            SetForegroundWindow(running);
            return 0;
        }
    }
    HWND window = CreateSaverWindow(parent);
    int result = NO_WINDOW;
    if (window != nullptr) {
        if (parent == nullptr) {
            SetForegroundWindow(window);
        }
        MSG message = {};
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        result = static_cast<int>(message.wParam);
    }
    UnloadPasswordVerifier();
    return result;
}

SaverWindowView SaverWindowState() {
    const SaverWindowShell& s = Saver();
    return {s.isPreview, s.closeGranted, s.verifyingPassword, s.startCursor};
}
