#include "notify_window.h"

#include <mmsystem.h>

static const char CLASS_NAME[] = "GleamoMusicTestWindow";

NotifyWindow::NotifyWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowA(CLASS_NAME, "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, this);
}

NotifyWindow::~NotifyWindow() {
    DestroyWindow(window_);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

bool NotifyWindow::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

LRESULT CALLBACK NotifyWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    NotifyWindow* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == MM_MCINOTIFY && self != nullptr) {
        self->notices.push_back(wParam);
        if (self->onNotice) {
            self->onNotice(wParam);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
