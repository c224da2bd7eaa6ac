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

namespace {

constexpr int PICTURE_W = 640;
constexpr int PICTURE_H = 480;
constexpr DWORD LOOP_SECONDS = 10;

std::string Folder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void Put(std::string& out, unsigned long value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A 640 x 480 24-bit picture with a gradient, written beside the program.
void WritePicture(const std::string& path) {
    const unsigned long stride = PICTURE_W * 3;
    std::string file = "BM";
    Put(file, 54 + stride * PICTURE_H, 4);
    Put(file, 0, 4);
    Put(file, 54, 4);
    Put(file, 40, 4);
    Put(file, PICTURE_W, 4);
    Put(file, PICTURE_H, 4);
    Put(file, 1, 2);
    Put(file, 24, 2);
    Put(file, 0, 24);
    for (int y = 0; y < PICTURE_H; ++y) {
        for (int x = 0; x < PICTURE_W; ++x) {
            file.push_back(static_cast<char>(x * 255 / PICTURE_W));
            file.push_back(static_cast<char>(y * 255 / PICTURE_H));
            file.push_back(static_cast<char>(128));
        }
    }
    WriteBytes(path, file);
}

// Default speed (70 ms ticks), 64 gradation steps, a hold of 40 ticks.
void WriteSettings(const std::string& path, bool randomZoom) {
    WriteBytes(path, std::string("[Back]\nScreen=0\nUsePic=0\nBackColor=4210752\n"
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
    WriteSettings(Folder() + "gleamo.ini", randomZoom);
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
    WritePicture(Folder() + "frame-cost.bmp");
    Run(false);
    Run(true);
    DeleteFileA((Folder() + "gleamo.ini").c_str());
    DeleteFileA((Folder() + "frame-cost.bmp").c_str());
    return 0;
}
