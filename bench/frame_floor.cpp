// The floor of a slideshow frame on this window system: the least work any
// double-buffered slideshow needs for one frame, measured the way frame_cost
// measures the saver. A bare full-screen window moves a 640 x 480 picture over
// a plain background, ticked by a periodic multimedia timer every 70 ms; each
// tick invalidates the changed rectangle, and its paint composes that
// rectangle off screen (fill, copy the picture) and copies it to the window in
// one BitBlt. Nothing fades and nothing else is drawn.
//
//   frame_floor.exe [track [result]]
//
// track: the picture's rectangle on each tick, one "x y width height" line per
// tick, as frame_cost records it from the saver; replayed in a loop, so that
// both draw the same frames. A size other than the picture's stretches it, as
// random zoom does. Without a track the picture drifts two pixels a tick each
// way and bounces off the edges.
// result: a file that receives "<processor seconds> <ticks handled> <handler
// milliseconds>", the last the time spent in the window's handlers.
// Prints figures; never fails.
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <vector>

#include "support/process_run.h"

namespace {

constexpr char CLASS_NAME[] = "GleamoFrameFloor";
constexpr int PICTURE_W = 640;
constexpr int PICTURE_H = 480;
constexpr UINT TICK_MS = 70;
// The least the timer is asked for: the platform's default tick.
constexpr UINT TIMER_RESOLUTION_MS = 10;
constexpr DWORD SETTLE_MS = 500;
constexpr DWORD LOOP_SECONDS = 10;
constexpr DWORD WAIT_SLICE_MS = 50;
constexpr UINT WM_FLOOR_TICK = WM_APP + 1;
constexpr int DRIFT = 2;
constexpr COLORREF BACK = RGB(0x40, 0x40, 0x40);

struct Floor {
    std::vector<RECT> track;  // empty: drift and bounce
    size_t next = 0;
    RECT previous = {};
    RECT current = {};
    int dx = DRIFT;
    int dy = DRIFT;
    int clientW = 0;
    int clientH = 0;
    HDC picture = nullptr;  // a 24-bit DIB section, as a picture read from a file is held
    HDC frame = nullptr;    // a screen-compatible bitmap of the client's size
    HBRUSH back = nullptr;
    unsigned ticks = 0;
};

Floor floorState;

void CALLBACK PostTick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    PostMessageA(reinterpret_cast<HWND>(user), WM_FLOOR_TICK, 0, 0);
}

void Advance(Floor& f) {
    if (!f.track.empty()) {
        f.current = f.track[f.next];
        f.next = (f.next + 1) % f.track.size();
        return;
    }
    if (f.current.left + f.dx < 0 || f.current.right + f.dx > f.clientW) {
        f.dx = -f.dx;
    }
    if (f.current.top + f.dy < 0 || f.current.bottom + f.dy > f.clientH) {
        f.dy = -f.dy;
    }
    OffsetRect(&f.current, f.dx, f.dy);
}

LRESULT OnTick(HWND window) {
    Floor& f = floorState;
    Advance(f);
    RECT changed;
    UnionRect(&changed, &f.previous, &f.current);
    InvalidateRect(window, &changed, FALSE);
    f.previous = f.current;
    ++f.ticks;
    return 0;
}

LRESULT OnPaint(HWND window) {
    Floor& f = floorState;
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window, &paint);
    const RECT& update = paint.rcPaint;
    FillRect(f.frame, &update, f.back);
    const RECT& p = f.current;
    const int w = p.right - p.left;
    const int h = p.bottom - p.top;
    if (w == PICTURE_W && h == PICTURE_H) {
        BitBlt(f.frame, p.left, p.top, w, h, f.picture, 0, 0, SRCCOPY);
    } else {
        StretchBlt(f.frame, p.left, p.top, w, h, f.picture, 0, 0, PICTURE_W, PICTURE_H, SRCCOPY);
    }
    BitBlt(screen, update.left, update.top, update.right - update.left, update.bottom - update.top, f.frame,
           update.left, update.top, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_FLOOR_TICK:
            return OnTick(window);
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The same gradient frame_cost shows, so that both copy the same bytes.
HBITMAP MakePicture(HDC screen) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = PICTURE_W;
    info.bmiHeader.biHeight = PICTURE_H;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    const int stride = (PICTURE_W * 3 + 3) & ~3;
    for (int y = 0; y < PICTURE_H; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + static_cast<size_t>(PICTURE_H - 1 - y) * stride;
        for (int x = 0; x < PICTURE_W; ++x) {
            row[3 * x] = static_cast<BYTE>(x * 255 / PICTURE_W);
            row[3 * x + 1] = static_cast<BYTE>(y * 255 / PICTURE_H);
            row[3 * x + 2] = 128;
        }
    }
    return bitmap;
}

std::vector<RECT> ReadTrack(const char* path) {
    std::vector<RECT> track;
    FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return track;
    }
    int x, y, w, h;
    while (std::fscanf(file, "%d %d %d %d", &x, &y, &w, &h) == 4) {
        track.push_back({x, y, x + w, y + h});
    }
    std::fclose(file);
    return track;
}

// Runs the message loop; the time spent in the window's handlers is added
// to handlerCounts.
void RunFor(DWORD milliseconds, LONGLONG& handlerCounts) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            LARGE_INTEGER before, after;
            QueryPerformanceCounter(&before);
            DispatchMessageA(&message);
            QueryPerformanceCounter(&after);
            handlerCounts += after.QuadPart - before.QuadPart;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Floor& f = floorState;
    if (argc > 1) {
        f.track = ReadTrack(argv[1]);
    }
    f.clientW = GetSystemMetrics(SM_CXSCREEN);
    f.clientH = GetSystemMetrics(SM_CYSCREEN);
    f.current = f.track.empty() ? RECT{0, 0, PICTURE_W, PICTURE_H} : f.track.front();

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, CLASS_NAME, "", WS_POPUP | WS_VISIBLE, 0, 0, f.clientW, f.clientH,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HDC screen = GetDC(window);
    f.frame = CreateCompatibleDC(screen);
    HBITMAP frameBitmap = CreateCompatibleBitmap(screen, f.clientW, f.clientH);
    f.picture = CreateCompatibleDC(screen);
    HBITMAP pictureBitmap = MakePicture(screen);
    ReleaseDC(window, screen);
    if (window == nullptr || frameBitmap == nullptr || pictureBitmap == nullptr) {
        std::printf("floor: the window or its bitmaps could not be made\n");
        return 0;
    }
    HGDIOBJ oldFrame = SelectObject(f.frame, frameBitmap);
    HGDIOBJ oldPicture = SelectObject(f.picture, pictureBitmap);
    SetStretchBltMode(f.frame, COLORONCOLOR);
    f.back = CreateSolidBrush(BACK);

    const UINT timer = timeSetEvent(TICK_MS, TIMER_RESOLUTION_MS, PostTick, reinterpret_cast<DWORD_PTR>(window),
                                    TIME_PERIODIC);
    LONGLONG handlerCounts = 0;
    RunFor(SETTLE_MS, handlerCounts);
    handlerCounts = 0;
    const unsigned ticksBefore = f.ticks;
    const ULONGLONG before = ProcessorTime100ns();
    RunFor(LOOP_SECONDS * 1000, handlerCounts);
    const double busySeconds = static_cast<double>(ProcessorTime100ns() - before) / 1e7;
    const unsigned ticks = f.ticks - ticksBefore;
    timeKillEvent(timer);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double handlerMs = 1000.0 * static_cast<double>(handlerCounts) / static_cast<double>(frequency.QuadPart);

    if (argc > 2) {
        if (FILE* result = std::fopen(argv[2], "w")) {
            std::fprintf(result, "%.4f %u %.3f\n", busySeconds, ticks, handlerMs);
            std::fclose(result);
        }
    } else {
        std::printf("floor: %.2f s of processor time over %lu s (%.1f %% of one core), %u ticks, "
                    "%.2f ms a tick in the window's handlers\n",
                    busySeconds, LOOP_SECONDS, 100.0 * busySeconds / LOOP_SECONDS, ticks,
                    handlerMs / (ticks > 0 ? ticks : 1));
    }
    DestroyWindow(window);
    SelectObject(f.frame, oldFrame);
    SelectObject(f.picture, oldPicture);
    DeleteDC(f.frame);
    DeleteDC(f.picture);
    DeleteObject(frameBitmap);
    DeleteObject(pictureBitmap);
    DeleteObject(f.back);
    return 0;
}
