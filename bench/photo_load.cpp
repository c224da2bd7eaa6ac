// What large photos cost the running saver. First its peak memory while three
// 6000 x 4000 JPEGs come round one after another, against a small picture as
// the baseline. Then how long a key press takes to take its window away and to
// end it while it works on those photos, pressed at moments spread over the
// slide cycle; and the same with one photo at a 10 ms tick, one gradation
// step and no hold, where nearly every tick finds the next picture still
// being read. Each figure comes from a fresh copy of gleamo.scr /s, started in
// a temporary folder with its own gleamo.ini. The photos are made once and
// kept beside this program. Prints figures; never fails.
//
// Usage: photo_load.exe [gleamo.scr [baseline.scr]]
// (default: the one beside it). A baseline, e.g. one built from an older
// revision, is measured for the key presses too, in the same run.
// Run it on a virtual display of its own: tools/photo-load does.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "saver_run_figures.h"
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
// The same for the one photo at the fast tick: by then it has come round more
// than once.
constexpr double FAST_PRESS_SECONDS[] = {7.0, 8.0, 9.0, 10.0, 11.0};
constexpr int FAST_TICK_MS = 10;
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
// fastTick: one fade step at a 10 ms tick instead.
std::string Settings(const std::vector<std::string>& pictures, bool fastTick = false) {
    std::string ini = "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) + "\n[Effect]\nScale=" +
                      (fastTick ? "1" : "2") +
                      "\nDelay=0\nSpeed=1\n"
                      "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=640\nMaxHeight=480\nUseMask=0\n"
                      "Count=" + std::to_string(pictures.size()) + "\n[Music]\nPlayMusic=0\nCount=0\n";
    if (fastTick) {
        ini += "[Debug]\nUseElapse=1\nElapse=" + std::to_string(FAST_TICK_MS) + "\n";
    }
    ini += "[FileList]\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        ini += "Picture" + std::to_string(i) + "=" + pictures[i] + "\n";
    }
    return ini;
}

// Puts a copy of the program in folder, with its settings listing pictures.
bool PrepareSaver(const std::string& program, const TempFolder& folder, const std::vector<std::string>& pictures,
                  bool fastTick = false) {
    return CopyFileA(program.c_str(), (folder / "gleamo.scr").c_str(), FALSE) &&
           WriteFileBytes(folder / "gleamo.ini", Settings(pictures, fastTick));
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

// What one key press did. Negative: it did not happen (pressedAt stays
// negative when no key went).
struct KeyOutcome {
    double pressedAt = -1;  // seconds after the start
    double windowGone = -1;  // seconds from the press until the window is hidden or destroyed
    double ended = -1;      // seconds from the press until the process ended
};

// A key press made pressSeconds after the start (or as soon as the window
// shows, if later). The window is watched every millisecond, so its figure is
// as close as this thread's sleep allows.
KeyOutcome KeyLatency(const std::string& program, double pressSeconds) {
    KeyOutcome outcome;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    RunningProcess saver(program, "/s");
    WatchHandle handle(saver);
    if (handle.Get() == nullptr) {
        return outcome;
    }
    while (SecondsSince(start) < pressSeconds) {
        Sleep(1);
    }
    HWND window = nullptr;
    if (!WaitUntil(WINDOW_LIMIT_MS, [&] { return (window = VisibleWindowOf(saver, SAVER_CLASS)) != nullptr; })) {
        return outcome;
    }
    // The key goes to the foreground window's thread.
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
    }
    LARGE_INTEGER press;
    QueryPerformanceCounter(&press);
    outcome.pressedAt = SecondsSince(start);
    PressKey(VK_SHIFT);
    while (SecondsSince(press) < END_LIMIT_MS / 1000.0) {
        if (outcome.windowGone < 0 && !IsWindowVisible(window)) {
            outcome.windowGone = SecondsSince(press);
        }
        if (WaitForSingleObject(handle.Get(), 1) == WAIT_OBJECT_0) {
            outcome.ended = SecondsSince(press);
            if (outcome.windowGone < 0) {
                outcome.windowGone = outcome.ended;
            }
            break;
        }
    }
    return outcome;
}

// Presses the key once per moment, each in a fresh start of program, and
// prints what each press did, with the median and the worst.
void PrintKeyLatencies(const std::string& label, const std::string& program, const double* moments, size_t count) {
    std::printf("  %s\n", label.c_str());
    std::vector<double> gone;
    std::vector<double> ended;
    for (size_t i = 0; i < count; ++i) {
        const KeyOutcome outcome = KeyLatency(program, moments[i]);
        if (outcome.pressedAt < 0) {
            std::printf("    at %5.2f s              no saver window\n", moments[i]);
        } else if (outcome.ended < 0) {
            std::printf("    pressed at %5.2f s   window gone %6.3f s, not ended within %lu s\n", outcome.pressedAt,
                        outcome.windowGone, END_LIMIT_MS / 1000);
        } else {
            std::printf("    pressed at %5.2f s   window gone %6.3f s   ended %6.3f s\n", outcome.pressedAt,
                        outcome.windowGone, outcome.ended);
            gone.push_back(outcome.windowGone);
            ended.push_back(outcome.ended);
        }
        std::fflush(stdout);
    }
    if (!gone.empty()) {
        std::sort(gone.begin(), gone.end());
        std::sort(ended.begin(), ended.end());
        std::printf("    window gone: median %.3f s, worst %.3f s;  ended: median %.3f s, worst %.3f s\n",
                    gone[gone.size() / 2], gone.back(), ended[ended.size() / 2], ended.back());
    }
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
    const std::string baselineProgram = argc > 2 ? argv[2] : "";
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
    TempFolder fast;
    TempFolder fastBaseline;
    if (!WriteFileBytes(small / "small.bmp", SolidBmp24(SMALL_SIZE, SMALL_SIZE, SMALL)) ||
        !PrepareSaver(program, small, {"small.bmp"}) || !PrepareSaver(program, large, photos) ||
        !PrepareSaver(program, fast, {photos[0]}, true) ||
        (!baselineProgram.empty() && !PrepareSaver(baselineProgram, fastBaseline, {photos[0]}, true))) {
        std::printf("the saver could not be prepared\n");
        return 0;
    }
    std::printf("peak memory over %lu s of running:\n", RUN_MS / 1000);
    const Peak baseline = PeakMemory(small / "gleamo.scr");
    PrintPeak("small picture (64 x 64)", baseline, -1);
    PrintPeak("6000 x 4000 JPEG x 3", PeakMemory(large / "gleamo.scr"), baseline.workingSetMb);

    std::printf("\nfrom a key press to the saver's window gone and to its end:\n");
    PrintKeyLatencies("6000 x 4000 JPEGs x 3 coming round", large / "gleamo.scr", PRESS_SECONDS,
                      sizeof PRESS_SECONDS / sizeof PRESS_SECONDS[0]);
    const std::string fastLabel =
        "one 6000 x 4000 JPEG, " + std::to_string(FAST_TICK_MS) + " ms tick, one fade step, no hold";
    if (!baselineProgram.empty()) {
        PrintKeyLatencies(fastLabel + ", baseline " + baselineProgram, fastBaseline / "gleamo.scr", FAST_PRESS_SECONDS,
                          sizeof FAST_PRESS_SECONDS / sizeof FAST_PRESS_SECONDS[0]);
    }
    PrintKeyLatencies(fastLabel, fast / "gleamo.scr", FAST_PRESS_SECONDS,
                      sizeof FAST_PRESS_SECONDS / sizeof FAST_PRESS_SECONDS[0]);
    return 0;
}
