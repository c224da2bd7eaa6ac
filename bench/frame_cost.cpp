// Frame cost of the running slideshow under the real window procedure: the
// time of one tick plus one paint with a 640 x 480 picture moving and fading,
// and the share of one processor the saver takes over 10 seconds, with and
// without random zoom. Prints figures; never fails.
//
// Run it on a 1920 x 1080 display: tools/frame-cost does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/slideshow_window.h"
#include "shell/saver_window.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr int PICTURE_W = 640;
constexpr int PICTURE_H = 480;
constexpr DWORD LOOP_SECONDS = 10;

// Default speed (70 ms ticks), 64 gradation steps, a hold of 40 ticks.
void WriteSettings(const std::string& path, bool randomZoom) {
    WriteFileBytes(path, std::string("[Back]\nScreen=0\nUsePic=0\nBackColor=4210752\n"
                                "[Effect]\nScale=64\nDelay=40\nSpeed=3\n"
                                "[Picture]\nCount=1\nMove=1\nCenter=0\nMaxWidth=0\nMaxHeight=0\nStretch=") +
                        (randomZoom ? "1" : "0") + "\n[FileList]\nPicture0=frame-cost.bmp\n");
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ULONGLONG ProcessorTime100ns() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    const ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return k.QuadPart + u.QuadPart;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// One whole slide cycle of ticks, each followed by its paint, timed one by one.
void MeasureTicks(HWND window, const char* label) {
    std::vector<double> fading;
    std::vector<double> all;
    for (int i = 0; i < 64 + 41 + 64; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendMessageA(window, WM_SLIDESHOW_TICK, 0, 0);
        UpdateWindow(window);
        GdiFlush();
        QueryPerformanceCounter(&end);
        const double ms = Milliseconds(start, end);
        all.push_back(ms);
        const int level = SlideshowState().fadeLevel;
        if (level != 0 && i > 0) {
            fading.push_back(ms);
        }
    }
    std::sort(all.begin(), all.end());
    std::sort(fading.begin(), fading.end());
    double fadingSum = 0;
    for (double ms : fading) {
        fadingSum += ms;
    }
    std::printf("%-22s tick+paint: median %.2f ms, fading mean %.2f ms over %u ticks, slowest %.2f ms\n", label,
                all[all.size() / 2], fading.empty() ? 0.0 : fadingSum / fading.size(),
                static_cast<unsigned>(fading.size()), all.back());
}

// The real message loop for LOOP_SECONDS, timer and all.
void MeasureLoad(const char* label) {
    const ULONGLONG before = ProcessorTime100ns();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < LOOP_SECONDS * 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    const double busySeconds = static_cast<double>(ProcessorTime100ns() - before) / 1e7;
    std::printf("%-22s processor share over %lu s at default speed: %.1f %% of one core\n", label, LOOP_SECONDS,
                100.0 * busySeconds / LOOP_SECONDS);
}

void Run(bool randomZoom) {
    const char* label = randomZoom ? "moving, random zoom" : "moving";
    WriteSettings(ExecutableFolder() + "gleamo.ini", randomZoom);
    HWND window = CreateSaverWindow(nullptr);
    if (window == nullptr) {
        std::printf("%s: the saver window could not be created\n", label);
        return;
    }
    Pump();
    MeasureTicks(window, label);
    MeasureLoad(label);
    DestroyWindow(window);
    Pump();
}

}  // namespace

int main() {
    std::printf("screen %d x %d, picture %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                PICTURE_W, PICTURE_H);
    // A gradient, so that the blend has real work on every byte.
    const std::string picture = ExecutableFolder() + "frame-cost.bmp";
    WriteFileBytes(picture, Bmp24(PICTURE_W, PICTURE_H, [](int x, int y) {
                       return RGB(128, y * 255 / PICTURE_H, x * 255 / PICTURE_W);
                   }));
    Run(false);
    Run(true);
    DeleteFileA((ExecutableFolder() + "gleamo.ini").c_str());
    DeleteFileA(picture.c_str());
    return 0;
}
