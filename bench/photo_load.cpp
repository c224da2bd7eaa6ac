// What large photos cost the running saver. First its peak memory while three
// 6000 x 4000 JPEGs come round one after another, against a small picture as
// the baseline. Then how long a key press takes to end it while it works on
// those photos, pressed at moments spread over the slide cycle. Each figure
// comes from a fresh copy of gleamo.scr /s, started in a temporary folder with
// its own gleamo.ini. The photos are made once and kept beside this program.
// Prints figures; never fails.
//
// Usage: photo_load.exe [path of gleamo.scr]   (default: the one beside it)
// Run it on a virtual display of its own: tools/photo-load does.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr int PHOTO_W = 6000;
constexpr int PHOTO_H = 4000;
constexpr int PHOTO_COUNT = 3;
constexpr int SMALL_SIZE = 64;
constexpr COLORREF BACK = RGB(0x20, 0x30, 0x70);
constexpr COLORREF SMALL = RGB(0x30, 0xD0, 0x60);

// Long enough for each photo to come round at least once at the fastest speed.
constexpr DWORD RUN_MS = 8000;
constexpr DWORD SAMPLE_MS = 100;
// Seconds after the start at which the key goes down, one fresh start each.
constexpr double PRESS_SECONDS[] = {1.0, 1.3, 1.7, 2.2, 2.9};
constexpr DWORD WINDOW_LIMIT_MS = 20000;
constexpr DWORD END_LIMIT_MS = 60000;
constexpr double MB = 1024.0 * 1024.0;
constexpr char SAVER_CLASS[] = "WindowsScreenSaverClass";

// Smooth gradients, blocks with edges and a fine grain, different for each
// seed: about as much for the encoder to keep as in a real photo.
COLORREF PhotoPixel(int seed, int x, int y) {
    const unsigned hash = (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u) ^
                          (static_cast<unsigned>(seed) * 83492791u);
    const int grain = static_cast<int>((hash * 2654435761u) >> 26);  // 0..63
    const int block = ((x / 150 + y / 110 + seed) % 5) * 12;
    const int r = 30 + x * 150 / PHOTO_W + grain + block;
    const int g = 30 + y * 150 / PHOTO_H + grain;
    const int b = (seed * 70 + (x + y) * 120 / (PHOTO_W + PHOTO_H) + grain + block) % 256;
    return RGB(std::min(r, 255), std::min(g, 255), b);
}

// The photos' paths, kept in the folder of this program and made when missing
// (the encoder under Wine takes seconds for each).
bool PreparePhotos(std::vector<std::string>& paths) {
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        const std::string path = ExecutableFolder() + "photo-" + std::to_string(PHOTO_W) + "x" +
                                 std::to_string(PHOTO_H) + "-" + std::to_string(i) + ".jpg";
        if (!FileExists(path)) {
            // Written under another name first, so that a run broken off
            // midway leaves no half photo to be taken for a whole one.
            const std::string part = path + ".part";
            if (!WriteJpeg(part, PHOTO_W, PHOTO_H, [i](int x, int y) { return PhotoPixel(i, x, y); }) ||
                !MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                return false;
            }
        }
        paths.push_back(path);
    }
    return true;
}

// Shrunk to at most 640 x 480, centred, still, in order, with two fade steps
// and no hold, at the fastest speed: the pictures follow each other at once.
std::string Settings(const std::vector<std::string>& pictures) {
    std::string ini = "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                      "\n[Effect]\nScale=2\nDelay=0\nSpeed=1\n"
                      "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=640\nMaxHeight=480\nUseMask=0\n"
                      "Count=" + std::to_string(pictures.size()) + "\n[Music]\nPlayMusic=0\nCount=0\n[FileList]\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        ini += "Picture" + std::to_string(i) + "=" + pictures[i] + "\n";
    }
    return ini;
}

// Puts a copy of the program in folder, with its settings listing pictures.
bool PrepareSaver(const std::string& program, const TempFolder& folder, const std::vector<std::string>& pictures) {
    return CopyFileA(program.c_str(), (folder / "gleamo.scr").c_str(), FALSE) &&
           WriteFileBytes(folder / "gleamo.ini", Settings(pictures));
}

// A handle on a started saver that can read its memory figures and wait for its end.
class WatchHandle {
public:
    explicit WatchHandle(const RunningProcess& process)
        : handle_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, process.Id())) {}
    ~WatchHandle() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    WatchHandle(const WatchHandle&) = delete;
    WatchHandle& operator=(const WatchHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

struct Peak {
    double workingSetMb = -1;  // negative: no figure could be read
    double pagefileMb = -1;
    bool endedEarly = false;
};

// The saver's peak memory over RUN_MS; it is ended afterwards.
Peak PeakMemory(const std::string& program) {
    Peak peak;
    RunningProcess saver(program, "/s");
    WatchHandle handle(saver);
    if (handle.Get() == nullptr) {
        return peak;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < RUN_MS) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(handle.Get(), &counters, sizeof counters)) {
            peak.workingSetMb = std::max(peak.workingSetMb, counters.PeakWorkingSetSize / MB);
            peak.pagefileMb = std::max(peak.pagefileMb, counters.PeakPagefileUsage / MB);
        }
        if (WaitForSingleObject(handle.Get(), SAMPLE_MS) == WAIT_OBJECT_0) {
            peak.endedEarly = true;
            break;
        }
    }
    return peak;
}

double SecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds from a key press, made pressSeconds after the start (or as soon as
// the window shows, if later: pressedAt says when), to the end of the saver;
// negative when it did not end (pressedAt stays negative when no key went).
double KeyLatency(const std::string& program, double pressSeconds, double& pressedAt) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    RunningProcess saver(program, "/s");
    WatchHandle handle(saver);
    if (handle.Get() == nullptr) {
        return -1;
    }
    while (SecondsSince(start) < pressSeconds) {
        Sleep(1);
    }
    HWND window = nullptr;
    if (!WaitUntil(WINDOW_LIMIT_MS, [&] { return (window = VisibleWindowOf(saver, SAVER_CLASS)) != nullptr; })) {
        return -1;
    }
    // The key goes to the foreground window's thread.
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
    }
    LARGE_INTEGER press;
    QueryPerformanceCounter(&press);
    pressedAt = SecondsSince(start);
    PressKey(VK_SHIFT);
    if (WaitForSingleObject(handle.Get(), END_LIMIT_MS) != WAIT_OBJECT_0) {
        return -1;
    }
    return SecondsSince(press);
}

void PrintPeak(const char* label, const Peak& peak, double baselineMb) {
    if (peak.workingSetMb < 0) {
        std::printf("%-24s no figures\n", label);
        return;
    }
    std::printf("%-24s peak working set %7.1f MB", label, peak.workingSetMb);
    if (baselineMb >= 0) {
        std::printf("  %+7.1f MB", peak.workingSetMb - baselineMb);
    } else {
        std::printf("  (baseline)");
    }
    std::printf("   peak pagefile %7.1f MB%s\n", peak.pagefileMb, peak.endedEarly ? "   (ended by itself)" : "");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : ExecutableFolder() + "gleamo.scr";
    std::printf("%s\nscreen %d x %d, pictures shrunk to at most 640 x 480\n", program.c_str(),
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // The saver ends when the mouse moves; it stays where it is put now.
    SetCursorPos(0, 0);

    std::vector<std::string> photos;
    const DWORD making = GetTickCount();
    if (!PreparePhotos(photos)) {
        std::printf("the photos could not be made (no JPEG encoder?)\n");
        return 0;
    }
    std::printf("%d photos of %d x %d ready in %.1f s\n\n", PHOTO_COUNT, PHOTO_W, PHOTO_H,
                (GetTickCount() - making) / 1000.0);

    TempFolder small;
    TempFolder large;
    if (!WriteFileBytes(small / "small.bmp", SolidBmp24(SMALL_SIZE, SMALL_SIZE, SMALL)) ||
        !PrepareSaver(program, small, {"small.bmp"}) || !PrepareSaver(program, large, photos)) {
        std::printf("the saver could not be prepared\n");
        return 0;
    }
    std::printf("peak memory over %lu s of running:\n", RUN_MS / 1000);
    const Peak baseline = PeakMemory(small / "gleamo.scr");
    PrintPeak("small picture (64 x 64)", baseline, -1);
    PrintPeak("6000 x 4000 JPEG x 3", PeakMemory(large / "gleamo.scr"), baseline.workingSetMb);

    std::printf("\nfrom a key press to the end of the saver, 6000 x 4000 JPEGs coming round:\n");
    std::vector<double> latencies;
    for (double pressSeconds : PRESS_SECONDS) {
        double pressedAt = -1;
        const double seconds = KeyLatency(large / "gleamo.scr", pressSeconds, pressedAt);
        if (pressedAt < 0) {
            std::printf("  at %4.2f s             no saver window\n", pressSeconds);
        } else if (seconds < 0) {
            std::printf("  pressed at %4.2f s   not ended within %lu s\n", pressedAt, END_LIMIT_MS / 1000);
        } else {
            std::printf("  pressed at %4.2f s   %6.3f s\n", pressedAt, seconds);
            latencies.push_back(seconds);
        }
        std::fflush(stdout);
    }
    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        std::printf("  median %.3f s, worst %.3f s\n", latencies[latencies.size() / 2], latencies.back());
    }
    return 0;
}
