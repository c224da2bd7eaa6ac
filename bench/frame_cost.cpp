// Frame cost of the running slideshow under the real window procedure, set
// against the floor of the window system (frame_floor.exe, beside this
// program), at the default settings and with random zoom:
// - the time of one tick plus one paint, with a 640 x 480 picture moving and
//   fading, over one whole slide;
// - the processor time the saver takes over 10 s of its real message loop,
//   timer and all; then the floor's over 10 s of its own loop, replaying the
//   rectangles the saver drew, so that both draw the same frames; and the
//   ratio of the two. Beside them, the time each loop spent in the window's
//   handlers, which includes waiting for the X server and the Wine server.
// Wine counts processor time in steps of 10 to 20 ms and the machine's other
// work adds its share, so a single round says little: the rounds' range and
// the ratio of all rounds together close the output. Prints figures; never
// fails.
//
//   frame_cost.exe [rounds]     (3 rounds unless given)
//
// Run it on a 1920 x 1080 display: tools/frame-cost does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/slideshow_window.h"
#include "shell/saver_window.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr int PICTURE_W = 640;
constexpr int PICTURE_H = 480;
constexpr DWORD LOOP_SECONDS = 10;
constexpr DWORD WAIT_SLICE_MS = 50;
constexpr DWORD SETTLE_MS = 500;
constexpr int DEFAULT_ROUNDS = 3;
constexpr DWORD FLOOR_LIMIT_MS = 60000;

// Default speed (70 ms ticks), 64 gradation steps, a hold of 40 ticks.
void WriteSettings(const std::string& path, bool randomZoom) {
    WriteFileBytes(path, std::string("[Back]\nScreen=0\nUsePic=0\nBackColor=4210752\n"
                                "[Effect]\nScale=64\nDelay=40\nSpeed=3\n"
                                "[Picture]\nCount=1\nMove=1\nCenter=0\nMaxWidth=0\nMaxHeight=0\nStretch=") +
                        (randomZoom ? "1" : "0") + "\n[FileList]\nPicture0=frame-cost.bmp\n");
}

// What the measured loop saw: the picture's rectangle after each tick it
// handled, as the floor replays it, and the time spent in the window's
// handlers (tick and paint).
struct TrackPoint {
    int x, y, width, height;
};
struct LoopRecord {
    std::vector<TrackPoint> track;
    LONGLONG handlerCounts = 0;
};

void Pump(LoopRecord* record) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DispatchMessageA(&message);
        QueryPerformanceCounter(&end);
        if (record == nullptr) {
            continue;
        }
        record->handlerCounts += end.QuadPart - start.QuadPart;
        if (message.message == WM_SLIDESHOW_TICK) {
            const SlideshowView view = SlideshowState();
            record->track.push_back({view.posX, view.posY, static_cast<int>(view.pictureWidth * view.zoom),
                                     static_cast<int>(view.pictureHeight * view.zoom)});
        }
    }
}

double CountsToMilliseconds(LONGLONG counts) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counts) / static_cast<double>(frequency.QuadPart);
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
        const double ms = CountsToMilliseconds(end.QuadPart - start.QuadPart);
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
    std::printf("  %-20s tick+paint: median %.2f ms, fading mean %.2f ms over %u ticks, slowest %.2f ms\n", label,
                all[all.size() / 2], fading.empty() ? 0.0 : fadingSum / fading.size(),
                static_cast<unsigned>(fading.size()), all.back());
}

// The real message loop for LOOP_SECONDS, timer and all: the processor
// seconds it took. The ticks the timer posted while MeasureTicks ran are
// handled first, outside the measured time.
double MeasureLoad(LoopRecord& record) {
    const DWORD settleStart = GetTickCount();
    while (GetTickCount() - settleStart < SETTLE_MS) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
        Pump(nullptr);
    }
    const ULONGLONG before = ProcessorTime100ns();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < LOOP_SECONDS * 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, WAIT_SLICE_MS, QS_ALLINPUT);
        Pump(&record);
    }
    return static_cast<double>(ProcessorTime100ns() - before) / 1e7;
}

// What the floor reported for its own loop.
struct FloorFigures {
    double seconds = -1;  // negative when it did not run
    unsigned ticks = 0;
    double handlerMs = 0;  // over all ticks
};

// The floor replaying track.
FloorFigures MeasureFloor(const std::vector<TrackPoint>& track) {
    FloorFigures figures;
    TempFolder folder;
    std::string text;
    for (const TrackPoint& p : track) {
        text += std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.width) + " " +
                std::to_string(p.height) + "\n";
    }
    const std::string trackPath = folder / "track.txt";
    const std::string resultPath = folder / "floor.txt";
    WriteFileBytes(trackPath, text);
    RunningProcess floorProgram(ExecutableFolder() + "frame_floor.exe", "\"" + trackPath + "\" \"" + resultPath + "\"");
    DWORD exitCode = 0;
    if (!floorProgram.Started() || !floorProgram.WaitForExit(FLOOR_LIMIT_MS, exitCode) ||
        std::sscanf(ReadFileBytes(resultPath).c_str(), "%lf %u %lf", &figures.seconds, &figures.ticks,
                    &figures.handlerMs) != 3) {
        figures.seconds = -1;
    }
    return figures;
}

struct Kind {
    const char* label;
    bool randomZoom;
    std::vector<double> ratios;
    double saverSeconds = 0;  // over every round
    double floorSeconds = 0;
};

void Run(Kind& kind) {
    WriteSettings(ExecutableFolder() + "gleamo.ini", kind.randomZoom);
    HWND window = CreateSaverWindow(nullptr);
    if (window == nullptr) {
        std::printf("  %s: the saver window could not be created\n", kind.label);
        return;
    }
    Pump(nullptr);
    MeasureTicks(window, kind.label);
    LoopRecord record;
    const double saver = MeasureLoad(record);
    DestroyWindow(window);
    Pump(nullptr);

    const FloorFigures floor = MeasureFloor(record.track);
    if (floor.seconds <= 0) {
        std::printf("  %-20s saver %.2f s (%.1f %%); the floor did not run\n", kind.label, saver,
                    100.0 * saver / LOOP_SECONDS);
        return;
    }
    const double ratio = saver / floor.seconds;
    kind.ratios.push_back(ratio);
    kind.saverSeconds += saver;
    kind.floorSeconds += floor.seconds;
    const unsigned ticks = static_cast<unsigned>(record.track.size());
    std::printf("  %-20s saver %.2f s (%.1f %%), floor %.2f s (%.1f %%), saver/floor %.2f\n", kind.label, saver,
                100.0 * saver / LOOP_SECONDS, floor.seconds, 100.0 * floor.seconds / LOOP_SECONDS, ratio);
    std::printf("  %-20s ticks %u / %u; in the window's handlers %.2f / %.2f ms a tick\n", "", ticks, floor.ticks,
                CountsToMilliseconds(record.handlerCounts) / (ticks > 0 ? ticks : 1),
                floor.handlerMs / (floor.ticks > 0 ? floor.ticks : 1));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : DEFAULT_ROUNDS;
    std::printf("screen %d x %d, picture %d x %d; processor time over %lu s of the message loop, saver then floor\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), PICTURE_W, PICTURE_H, LOOP_SECONDS);
    // A gradient, so that the blend has real work on every byte.
    const std::string picture = ExecutableFolder() + "frame-cost.bmp";
    WriteFileBytes(picture, Bmp24(PICTURE_W, PICTURE_H, [](int x, int y) {
                       return RGB(128, y * 255 / PICTURE_H, x * 255 / PICTURE_W);
                   }));
    Kind kinds[] = {{"moving", false, {}}, {"moving, random zoom", true, {}}};
    for (int round = 1; round <= rounds; ++round) {
        std::printf("round %d\n", round);
        for (Kind& kind : kinds) {
            Run(kind);
        }
    }
    std::printf("saver/floor over %d rounds: the range of the rounds, and all rounds together\n", rounds);
    for (const Kind& kind : kinds) {
        if (!kind.ratios.empty()) {
            const auto range = std::minmax_element(kind.ratios.begin(), kind.ratios.end());
            std::printf("  %-20s %.2f - %.2f, together %.2f\n", kind.label, *range.first, *range.second,
                        kind.saverSeconds / kind.floorSeconds);
        }
    }
    DeleteFileA((ExecutableFolder() + "gleamo.ini").c_str());
    DeleteFileA(picture.c_str());
    return 0;
}
