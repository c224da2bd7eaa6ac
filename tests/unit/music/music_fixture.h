// A hidden window that receives MM_MCINOTIFY, and the fixture of the music tests.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_files.h"

class NotifyWindow {
public:
    NotifyWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "GleamoMusicTestWindow";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        window_ = CreateWindowA(windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, this);
    }
    ~NotifyWindow() {
        DestroyWindow(window_);
        PumpUntil([] { return true; }, 0);
    }
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    HWND Handle() const { return window_; }

    // Pumps this thread's messages until done() holds or timeoutMs pass;
    // returns done().
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
            }
            const DWORD elapsed = GetTickCount() - start;
            if (done() || elapsed >= timeoutMs) {
                return done();
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        }
    }

    // Called on every MM_MCINOTIFY after it is recorded, as the saver's
    // window procedure would be.
    std::function<void(WPARAM code)> onNotice;
    // The codes received: MCI_NOTIFY_SUCCESSFUL, _SUPERSEDED, _ABORTED or _FAILURE.
    std::vector<WPARAM> notices;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        NotifyWindow* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != MM_MCINOTIFY || self == nullptr) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        self->notices.push_back(wParam);
        if (self->onNotice) {
            self->onNotice(wParam);
        }
        return 0;
    }

    HWND window_;
};

// Generous bound for a notice of a file lasting under two seconds; the pump
// returns as soon as it arrives.
constexpr DWORD NOTICE_TIMEOUT_MS = 15000;

// Under Wine the sounds go to the PulseAudio null sink that the test runner
// starts; without an audio device no wave file opens and these tests fail,
// as they must on CI.
class MusicTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?"; }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = temp_ / name;
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
        return path;
    }

    TempFolder temp_;
    NotifyWindow window_;
};
