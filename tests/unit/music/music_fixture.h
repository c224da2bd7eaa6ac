// The fixture of the music tests: a hidden window that receives MM_MCINOTIFY.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/play_next_track.h"
#include "settings/saver_settings.h"
#include "support/process_run.h"
#include "support/test_files.h"

// Generous bound for a notice of a file lasting under two seconds; the wait
// ends as soon as it arrives.
constexpr DWORD NOTICE_TIMEOUT_MS = 15000;

// The music values the saver's engine takes from its settings.
inline MusicOptions MusicOptionsOf(const SaverSettings& settings) {
    MusicOptions options;
    options.play = settings.playMusic != 0;
    options.shuffle = settings.musicShuffle != 0;
    lstrcpynA(options.programDir, settings.moduleDir, PATH_BUFFER_SIZE);
    return options;
}

// Under Wine the sounds go to the PulseAudio null sink that the test runner
// starts; without an audio device no wave file opens and these tests fail,
// as they must on CI.
class MusicTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
        const WNDCLASSA windowClass = {0, NoticeProc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr,
                                       nullptr, "GleamoMusicTestWindow"};
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        current_ = this;
        window_ = CreateWindowA(windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        current_ = nullptr;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    TempFolder temp_;
    HWND window_ = nullptr;
    // The codes received: MCI_NOTIFY_SUCCESSFUL, _SUPERSEDED, _ABORTED or _FAILURE.
    std::vector<WPARAM> notices_;

private:
    static LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != MM_MCINOTIFY || current_ == nullptr) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        current_->notices_.push_back(wParam);
        return 0;
    }

    static inline MusicTest* current_ = nullptr;
};
