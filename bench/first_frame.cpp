// How long the saver takes from its start to its first frame on the screen,
// as the user sees it: each case runs a fresh copy of gleamo.scr /s in a
// temporary folder with its own gleamo.ini and polls the centre of the screen
// for the picture's colour (the background's, when there are no pictures).
// The first case, one picture and no music, is the reference the others are
// compared with. Prints figures; never fails.
//
// With --no-audio it measures the start with a music folder on a machine
// without an audio device, against the same reference, and how long a key
// pressed at the first frame takes to take the window away and to end the
// saver (the music must hold neither back). A baseline program, e.g. one
// built from an older revision, is measured first in the same run.
//
// Usage: first_frame.exe [--no-audio] [gleamo.scr [baseline.scr]]
// (default: the one beside it). Run it on a virtual display of its own, and
// for --no-audio where Wine finds no audio device: tools/first-frame does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "saver_run_figures.h"
#include "support/music_files.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

// One start of the saver. With no pictures the background colour is waited
// for instead of the picture's.
struct Case {
    const char* label;
    int pictures;    // 0: none; 1: one file beside the program; more: a folder holding that many
    int mp3Files;    // in one music folder, listed as the only music entry; 0: no music entry
    bool playMusic;
};

const Case CASES[] = {
    {"one picture, no music", 1, 0, false},
    {"no pictures", 0, 0, false},
    {"20,000 pictures", 20000, 0, false},
    {"150 MP3 files", 1, 150, true},
    {"500 MP3 files", 1, 500, true},
};

// Without an audio device every MP3 fails to open, each slowly.
const Case NO_AUDIO_CASES[] = {
    {"one picture, no music", 1, 0, false},
    {"150 MP3 files, no device", 1, 150, true},
};

// Each case is started this many times; the median is shown.
constexpr int ROUNDS = 3;
// The old saver opened every music file before its first frame: 500 took
// about 50 s.
constexpr DWORD SHOW_LIMIT_MS = 180000;
constexpr DWORD POLL_MS = 5;
constexpr DWORD CLEAR_LIMIT_MS = 5000;
constexpr DWORD END_LIMIT_MS = 60000;
constexpr char SAVER_CLASS[] = "WindowsScreenSaverClass";

constexpr COLORREF BACK = RGB(0x20, 0x30, 0x70);
constexpr COLORREF PICTURE = RGB(0x30, 0xD0, 0x60);
// Small, so that a folder of 20,000 of them is quick to write.
constexpr int PICTURE_SIZE = 16;
constexpr int MP3_MILLISECONDS = 1000;

// Centred, shown at once (one gradation step) and held, without moving, over
// a plain colour, at the fastest speed.
std::string Settings(const Case& c, const std::string& pictureEntry, const std::string& musicEntry) {
    std::string ini = "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                      "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n"
                      "[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\nUseMask=0\nCount=" +
                      std::to_string(pictureEntry.empty() ? 0 : 1) + "\n[Music]\nSuffle=0\nPlayMusic=" +
                      (c.playMusic ? "1" : "0") + "\nCount=" + std::to_string(musicEntry.empty() ? 0 : 1) +
                      "\n[FileList]\n";
    if (!pictureEntry.empty()) {
        ini += "Picture0=" + pictureEntry + "\n";
    }
    if (!musicEntry.empty()) {
        ini += "Music0=" + musicEntry + "\n";
    }
    return ini;
}

// Makes the copy of the program, its settings, pictures and music in folder.
bool Prepare(const Case& c, const std::string& program, const TempFolder& folder) {
    if (!CopyFileA(program.c_str(), (folder / "gleamo.scr").c_str(), FALSE)) {
        return false;
    }
    const std::string picture = SolidBmp24(PICTURE_SIZE, PICTURE_SIZE, PICTURE);
    std::string pictureEntry;
    if (c.pictures == 1) {
        pictureEntry = "first-frame.bmp";  // a bare name: beside the program
        if (!WriteFileBytes(folder / pictureEntry, picture)) {
            return false;
        }
    } else if (c.pictures > 1) {
        pictureEntry = folder / "pictures";
        CreateDirectoryA(pictureEntry.c_str(), nullptr);
        for (int i = 0; i < c.pictures; ++i) {
            if (!WriteFileBytes(pictureEntry + "\\" + std::to_string(i) + ".bmp", picture)) {
                return false;
            }
        }
    }
    std::string musicEntry;
    if (c.mp3Files > 0) {
        musicEntry = folder / "music";
        CreateDirectoryA(musicEntry.c_str(), nullptr);
        const std::string song = Mp3Bytes(MP3_MILLISECONDS);
        for (int i = 0; i < c.mp3Files; ++i) {
            if (!WriteFileBytes(musicEntry + "\\track" + std::to_string(i) + ".mp3", song)) {
                return false;
            }
        }
    }
    return WriteFileBytes(folder / "gleamo.ini", Settings(c, pictureEntry, musicEntry));
}

// One start: seconds from the start of the process to the awaited colour at
// the centre of the screen, and, when a key is pressed then, from the press
// to the window gone and to the end of the process. Negative: did not happen
// within its limit.
struct Start {
    double firstFrame = -1;
    double windowGone = -1;
    double ended = -1;
};

Start StartOnce(const std::string& program, COLORREF awaited, bool pressKey) {
    Start start;
    // Whatever an earlier run left on the screen must be gone first.
    WaitUntil(CLEAR_LIMIT_MS, [&] { return CentrePixel() != awaited; });
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    RunningProcess saver(program, "/s");
    if (!saver.Started()) {
        return start;
    }
    const DWORD startTick = GetTickCount();
    while (CentrePixel() != awaited) {
        if (GetTickCount() - startTick > SHOW_LIMIT_MS || saver.HasExited()) {
            return start;
        }
        Sleep(POLL_MS);
    }
    start.firstFrame = SecondsSince(begin);
    HWND window = pressKey ? VisibleWindowOf(saver, SAVER_CLASS) : nullptr;
    if (window == nullptr) {
        return start;
    }
    // The key goes to the foreground window's thread.
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
    }
    LARGE_INTEGER press;
    QueryPerformanceCounter(&press);
    PressKey(VK_SHIFT);
    while (SecondsSince(press) < END_LIMIT_MS / 1000.0) {
        if (start.windowGone < 0 && !IsWindowVisible(window)) {
            start.windowGone = SecondsSince(press);
        }
        if (saver.HasExited()) {
            start.ended = SecondsSince(press);
            start.windowGone = start.windowGone < 0 ? start.ended : start.windowGone;
            break;
        }
        Sleep(1);
    }
    return start;
}  // the saver is ended here

// The medians of ROUNDS starts; the first frame negative when any of them
// failed to show it.
Start Measure(const Case& c, const std::string& program, bool pressKey) {
    TempFolder folder;
    if (!Prepare(c, program, folder)) {
        return Start();
    }
    const COLORREF awaited = c.pictures > 0 ? PICTURE : BACK;
    std::vector<double> frames, gone, ended;
    for (int i = 0; i < ROUNDS; ++i) {
        const Start start = StartOnce(folder / "gleamo.scr", awaited, pressKey);
        if (start.firstFrame < 0) {
            return Start();
        }
        frames.push_back(start.firstFrame);
        if (start.ended >= 0) {
            gone.push_back(start.windowGone);
            ended.push_back(start.ended);
        }
    }
    Start median;
    median.firstFrame = Median(frames);
    median.windowGone = Median(gone);
    median.ended = Median(ended);
    return median;
}

// Measures the cases in turn against the first of them and prints a line each.
void PrintCases(const std::string& program, const Case* cases, size_t count, bool pressKey) {
    double reference = -1;
    for (size_t i = 0; i < count; ++i) {
        const Case& c = cases[i];
        const Start start = Measure(c, program, pressKey);
        const bool isReference = i == 0;
        if (isReference) {
            reference = start.firstFrame;
        }
        if (start.firstFrame < 0) {
            std::printf("%-28s not shown within %lu s", c.label, SHOW_LIMIT_MS / 1000);
        } else if (isReference || reference < 0) {
            std::printf("%-28s %6.2f s%s", c.label, start.firstFrame, isReference ? "  (reference)" : "");
        } else {
            std::printf("%-28s %6.2f s  %+6.2f s", c.label, start.firstFrame, start.firstFrame - reference);
        }
        if (pressKey && start.ended >= 0) {
            std::printf("   key: window gone %5.3f s, ended %5.3f s", start.windowGone, start.ended);
        } else if (pressKey && start.firstFrame >= 0) {
            std::printf("   key: not ended within %lu s", END_LIMIT_MS / 1000);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

// Wine reports no wave output device when no audio service answers.
UINT WaveOutputDevices() {
    typedef UINT(WINAPI * CountFn)();
    HMODULE winmm = LoadLibraryA("winmm.dll");
    const CountFn count =
        winmm != nullptr ? reinterpret_cast<CountFn>(reinterpret_cast<void*>(GetProcAddress(winmm, "waveOutGetNumDevs")))
                         : nullptr;
    return count != nullptr ? count() : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool noAudio = argc > 1 && std::strcmp(argv[1], "--no-audio") == 0;
    const int first = noAudio ? 2 : 1;
    const std::string program = argc > first ? argv[first] : ExecutableFolder() + "gleamo.scr";
    const std::string baseline = argc > first + 1 ? argv[first + 1] : "";
    // The saver ends when the mouse moves; it stays where it is put now.
    SetCursorPos(0, 0);
    // Wine's first starts of a program in a session are the slowest: a few
    // are made and dropped, so that no reference pays for them.
    Measure(CASES[0], program, false);
    if (!noAudio) {
        std::printf("%s\nscreen %d x %d, median of %d starts, from the start of the process to the first frame\n",
                    program.c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), ROUNDS);
        PrintCases(program, CASES, sizeof CASES / sizeof CASES[0], false);
        return 0;
    }
    std::printf("without an audio device (wave output devices: %u), median of %d starts; a key pressed at the "
                "first frame\n",
                WaveOutputDevices(), ROUNDS);
    if (!baseline.empty()) {
        std::printf("%s  (baseline)\n", baseline.c_str());
        PrintCases(baseline, NO_AUDIO_CASES, sizeof NO_AUDIO_CASES / sizeof NO_AUDIO_CASES[0], true);
    }
    std::printf("%s\n", program.c_str());
    PrintCases(program, NO_AUDIO_CASES, sizeof NO_AUDIO_CASES / sizeof NO_AUDIO_CASES[0], true);
    return 0;
}
