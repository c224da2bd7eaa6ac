// How long the saver takes from its start to its first frame on the screen,
// as the user sees it: each case runs a fresh copy of gleamo.scr /s in a
// temporary folder with its own gleamo.ini and polls the centre of the screen
// for the picture's colour (the background's, when there are no pictures).
// The first case, one picture and no music, is the reference the others are
// compared with. Prints figures; never fails.
//
// Usage: first_frame.exe [path of gleamo.scr]   (default: the one beside it)
// Run it on a virtual display of its own: tools/first-frame does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

// Each case is started this many times; the median is shown.
constexpr int ROUNDS = 3;
// The old saver opened every music file before its first frame: 500 took
// about 50 s.
constexpr DWORD SHOW_LIMIT_MS = 180000;
constexpr DWORD POLL_MS = 5;
constexpr DWORD CLEAR_LIMIT_MS = 5000;

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

COLORREF CentrePixel() {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    ReleaseDC(nullptr, screen);
    return color;
}

double SecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds from the start of the process to the awaited colour at the centre
// of the screen; negative when it did not show within the limit.
double TimeToFirstFrame(const std::string& program, COLORREF awaited) {
    // Whatever an earlier run left on the screen must be gone first.
    WaitUntil(CLEAR_LIMIT_MS, [&] { return CentrePixel() != awaited; });
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    RunningProcess saver(program, "/s");
    if (!saver.Started()) {
        return -1;
    }
    const DWORD startTick = GetTickCount();
    while (CentrePixel() != awaited) {
        if (GetTickCount() - startTick > SHOW_LIMIT_MS || saver.HasExited()) {
            return -1;
        }
        Sleep(POLL_MS);
    }
    return SecondsSince(start);
}  // the saver is ended here

// The median of ROUNDS starts; negative when any of them failed.
double Measure(const Case& c, const std::string& program) {
    TempFolder folder;
    if (!Prepare(c, program, folder)) {
        return -1;
    }
    const COLORREF awaited = c.pictures > 0 ? PICTURE : BACK;
    std::vector<double> times;
    for (int i = 0; i < ROUNDS; ++i) {
        const double seconds = TimeToFirstFrame(folder / "gleamo.scr", awaited);
        if (seconds < 0) {
            return -1;
        }
        times.push_back(seconds);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : ExecutableFolder() + "gleamo.scr";
    std::printf("%s\nscreen %d x %d, median of %d starts, from the start of the process to the first frame\n",
                program.c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), ROUNDS);
    // The saver ends when the mouse moves; it stays where it is put now.
    SetCursorPos(0, 0);
    double reference = -1;
    for (const Case& c : CASES) {
        const double seconds = Measure(c, program);
        const bool isReference = &c == &CASES[0];
        if (isReference) {
            reference = seconds;
        }
        if (seconds < 0) {
            std::printf("%-28s not shown within %lu s\n", c.label, SHOW_LIMIT_MS / 1000);
        } else if (isReference || reference < 0) {
            std::printf("%-28s %6.2f s%s\n", c.label, seconds, isReference ? "  (reference)" : "");
        } else {
            std::printf("%-28s %6.2f s  %+6.2f s\n", c.label, seconds, seconds - reference);
        }
        std::fflush(stdout);
    }
    return 0;
}
