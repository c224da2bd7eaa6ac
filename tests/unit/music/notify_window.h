// A hidden window that receives MM_MCINOTIFY, for the music tests.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class NotifyWindow {
public:
    NotifyWindow();
    ~NotifyWindow();
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    HWND Handle() const { return window_; }

    // Called on every MM_MCINOTIFY after it is recorded, as the saver's
    // window procedure would be.
    std::function<void(WPARAM code)> onNotice;

    // The codes received: MCI_NOTIFY_SUCCESSFUL, _SUPERSEDED, _ABORTED or _FAILURE.
    std::vector<WPARAM> notices;

    // Pumps this thread's messages until done() holds or timeoutMs pass;
    // returns done().
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
};

// Generous bound for a notice of a file lasting under two seconds; the pump
// returns as soon as it arrives.
constexpr DWORD NOTICE_TIMEOUT_MS = 15000;
