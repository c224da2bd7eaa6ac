// A photo library of 20,000 and of 200,000 small pictures in 2,000 folders,
// four levels deep, searched with sub-folders and every picture format on:
// the saver's first frame against a start with one picture, how soon a key
// ends it while the search runs, its working set once the search has ended,
// and the search itself against the floor program's bare walk of the same
// tree (library_floor.exe). A baseline program, one built from an older
// revision that searches no sub-folders, is given the 2,000 folders listed
// one by one. Prints figures; never fails.
//
// Usage: library_load.exe [gleamo.scr [baseline.scr]] (default: the one
// beside it). Run it on a virtual display of its own: tools/library-load does.
#include <windows.h>

#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "saver_run_figures.h"
#include "base/heap_array.h"
#include "base/media_list.h"
#include "base/string_list.h"
#include "imaging/picture_formats.h"
#include "settings/media_expansion.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr int ROUNDS = 3;
constexpr int LEAF_FOLDERS = 2000;
constexpr DWORD SHOW_LIMIT_MS = 600000;
constexpr DWORD END_LIMIT_MS = 60000;
constexpr DWORD CLEAR_LIMIT_MS = 5000;
constexpr COLORREF BACK = RGB(0x20, 0x30, 0x70);
constexpr COLORREF PICTURE = RGB(0x30, 0xD0, 0x60);
constexpr char SAVER_CLASS[] = "WindowsScreenSaverClass";
constexpr double MB = 1024.0 * 1024.0;

// root\aN\bN\cN\dN\: 5 x 4 x 10 x 10 leaf folders, each with pictures / 2,000
// files. The leaf folders' paths are returned.
std::vector<std::string> MakeTree(const std::string& root, int pictures) {
    const std::string bytes = SolidBmp24(16, 16, PICTURE);
    std::vector<std::string> leaves;
    CreateDirectoryA(root.c_str(), nullptr);
    for (int a = 0; a < 5; ++a) {
        const std::string pa = root + "a" + std::to_string(a) + "\\";
        CreateDirectoryA(pa.c_str(), nullptr);
        for (int b = 0; b < 4; ++b) {
            const std::string pb = pa + "b" + std::to_string(b) + "\\";
            CreateDirectoryA(pb.c_str(), nullptr);
            for (int c = 0; c < 10; ++c) {
                const std::string pc = pb + "c" + std::to_string(c) + "\\";
                CreateDirectoryA(pc.c_str(), nullptr);
                for (int d = 0; d < 10; ++d) {
                    const std::string pd = pc + "d" + std::to_string(d) + "\\";
                    CreateDirectoryA(pd.c_str(), nullptr);
                    for (int i = 0; i < pictures / LEAF_FOLDERS; ++i) {
                        WriteFileBytes(pd + "IMG_" + std::to_string(i) + ".bmp", bytes);
                    }
                    leaves.push_back(pd);
                }
            }
        }
    }
    return leaves;
}

// The floor program's walk of root, in seconds, as it prints them.
double FloorWalk(const std::string& root) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (!CreatePipe(&reading, &writing, &inherited, 0)) {
        return -1;
    }
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writing;
    PROCESS_INFORMATION process = {};
    // The folder's trailing backslash is doubled so that it does not quote the quote.
    std::string line = "\"" + ExecutableFolder() + "library_floor.exe\" \"" + root + "\\\"";
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    // Read to the end of the pipe, which comes when the program's end closes its side.
    CloseHandle(writing);
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (started && ReadFile(reading, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        output.append(chunk, got);
    }
    CloseHandle(reading);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    double seconds = -1;
    std::sscanf(output.c_str(), "%lf", &seconds);
    return seconds;
}

// The search the saver runs on its thread, here in this process: seconds and
// files found.
double Search(const std::string& root, int& found) {
    StringList entries;
    entries.Add(root.c_str());
    HeapArray<wchar_t> extensions;
    ReadablePictureExtensions(extensions);
    const wchar_t* const patterns[] = {L"*.bmp", L"*.jpg"};
    const FolderRules rules = {patterns, 2, &extensions[0], true, nullptr};
    MediaList files;
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    ExpandEntries(entries, "", rules, files);
    const double seconds = SecondsSince(begin);
    found = files.Count();
    return seconds;
}

std::string Settings(const std::vector<std::string>& entries, bool library) {
    std::string ini = "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) +
                      "\n[Effect]\nScale=1\nDelay=999\nSpeed=1\n[Picture]\nCenter=1\nMove=0\nStretch=0\nSuffle=1\n"
                      "MaxWidth=0\nMaxHeight=0\nUseMask=0\nCount=" +
                      std::to_string(entries.size()) + "\n" + (library ? "SubFolders=1\nAllFormats=1\n" : "") +
                      "[FileList]\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        ini += "Picture" + std::to_string(i) + "=" + entries[i] + "\n";
    }
    return ini;
}

struct Run {
    double firstFrame = -1;
    double windowGone = -1;  // after a key pressed keyDelay after the first frame
    double workingSetMb = -1;
};

// One start of the program in folder: the first frame, then, after
// keyDelay seconds, its working set and a key.
Run StartOnce(const std::string& program, double keyDelay) {
    Run run;
    WaitUntil(CLEAR_LIMIT_MS, [] { return CentrePixel() != PICTURE; });
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    RunningProcess saver(program, "/s");
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, saver.Id());
    while (CentrePixel() != PICTURE) {
        if (SecondsSince(begin) * 1000 > SHOW_LIMIT_MS || saver.HasExited()) {
            CloseHandle(handle);
            return run;
        }
        Sleep(5);
    }
    run.firstFrame = SecondsSince(begin);
    Sleep(static_cast<DWORD>(keyDelay * 1000));
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (handle != nullptr && GetProcessMemoryInfo(handle, &counters, sizeof counters)) {
        run.workingSetMb = counters.WorkingSetSize / MB;
    }
    CloseHandle(handle);
    HWND window = VisibleWindowOf(saver, SAVER_CLASS);
    if (window == nullptr) {
        return run;
    }
    SetForegroundWindow(window);
    LARGE_INTEGER press;
    QueryPerformanceCounter(&press);
    PressKey(VK_SHIFT);
    while (SecondsSince(press) * 1000 < END_LIMIT_MS) {
        if (!IsWindowVisible(window) || saver.HasExited()) {
            run.windowGone = SecondsSince(press);
            break;
        }
        Sleep(1);
    }
    return run;
}

Run Measure(const std::string& program, const TempFolder& folder, const std::vector<std::string>& entries,
            bool library, double keyDelay) {
    if (!CopyFileA(program.c_str(), (folder / "gleamo.scr").c_str(), FALSE) ||
        !WriteFileBytes(folder / "gleamo.ini", Settings(entries, library))) {
        return Run();
    }
    std::vector<double> frames, gone, memory;
    for (int i = 0; i < ROUNDS; ++i) {
        const Run run = StartOnce(folder / "gleamo.scr", keyDelay);
        frames.push_back(run.firstFrame);
        gone.push_back(run.windowGone);
        memory.push_back(run.workingSetMb);
    }
    return Run{Median(frames), Median(gone), Median(memory)};
}

void Print(const char* label, const Run& run, const Run& reference) {
    std::printf("  %-34s first frame %6.2f s (%+6.2f s)   key: window gone %5.3f s   working set %6.1f MB (%+6.1f MB)\n",
                label, run.firstFrame, run.firstFrame - reference.firstFrame, run.windowGone, run.workingSetMb,
                run.workingSetMb - reference.workingSetMb);
    std::fflush(stdout);
}

void MeasureLibrary(int pictures, const std::string& program, const std::string& baseline) {
    TempFolder folder;
    const std::string root = folder / "library\\";
    LARGE_INTEGER made;
    QueryPerformanceCounter(&made);
    const std::vector<std::string> leaves = MakeTree(root, pictures);
    std::printf("%d pictures in %d folders (made in %.1f s)\n", pictures, LEAF_FOLDERS, SecondsSince(made));

    FloorWalk(root);  // the first walk fills the system's caches
    std::vector<double> floors, searches;
    int found = 0;
    for (int i = 0; i < ROUNDS; ++i) {
        floors.push_back(FloorWalk(root));
        searches.push_back(Search(root, found));
    }
    const double floor = Median(floors), search = Median(searches);
    std::printf("  search %.3f s (%d found), bare walk %.3f s: %.2f times the walk\n", search, found, floor,
                search / floor);

    // The working set is read after the search has had time to end.
    const double settled = 2 * search + 2;
    TempFolder one;
    WriteFileBytes(one / "one.bmp", SolidBmp24(16, 16, PICTURE));
    const Run reference = Measure(program, one, {one / "one.bmp"}, false, settled);
    Print("one picture (reference)", reference, reference);
    TempFolder saverFolder;
    Print("library, key at the first frame", Measure(program, saverFolder, {root}, true, 0), reference);
    Print("library, key after the search", Measure(program, saverFolder, {root}, true, settled), reference);
    if (!baseline.empty()) {
        TempFolder oneOld;
        WriteFileBytes(oneOld / "one.bmp", SolidBmp24(16, 16, PICTURE));
        const Run oldReference = Measure(baseline, oneOld, {oneOld / "one.bmp"}, false, settled);
        std::printf("  baseline %s\n", baseline.c_str());
        Print("one picture (reference)", oldReference, oldReference);
        TempFolder oldFolder;
        Print("2,000 folders listed, key at first frame", Measure(baseline, oldFolder, leaves, false, 0), oldReference);
        Print("2,000 folders listed, key later", Measure(baseline, oldFolder, leaves, false, settled), oldReference);
    }
    std::printf("  (removing the tree)\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 1 ? argv[1] : ExecutableFolder() + "gleamo.scr";
    const std::string baseline = argc > 2 ? argv[2] : "";
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    SetCursorPos(0, 0);
    std::printf("%s\nscreen %d x %d, median of %d starts\n", program.c_str(), GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), ROUNDS);
    for (const int pictures : {20000, 200000}) {
        MeasureLibrary(pictures, program, baseline);
    }
    CoUninitialize();
    return 0;
}
