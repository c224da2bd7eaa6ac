// A screen saver is often run from the folder it was saved to, where files
// named like system DLLs may lie that someone else put there. The saver must
// take every DLL from the system: none of these is ever loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr DWORD SHOW_LIMIT_MS = 20000, END_LIMIT_MS = 10000;

// Marker DLLs built by the tests leave "<path>.loaded" when loaded and
// "<path>.called" when their GetDpiForMonitor is called. winmm.dll is the one
// the program used to import; shcore.dll the one it asks for GetDpiForMonitor.
// Under Wine a planted shcore.dll is loaded while any process starts (Wine's
// shell32 imports it through shlwapi, from the program's folder too), so what
// must not happen is that the program calls it. Windows keeps shcore.dll among
// its known DLLs.
const struct {
    const char* name;
    const char* marker;  // what must not appear beside it
} kPlanted[] = {{"winmm.dll", ".loaded"}, {"shcore.dll", ".called"}};

typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);

std::string PlantedFolder() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("GLEAMO_PLANTED_DLLS", path, sizeof path);
    return path;
}

// A picture to show and a track to try, so that the saver starts its timer
// and its music, which is when it needs winmm.
TEST(PlantedDlls, NoneBesideTheProgramServesTheRunningSaver) {
    ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
    ASSERT_FALSE(PlantedFolder().empty()) << "GLEAMO_PLANTED_DLLS is not set";
    TempFolder folder;
    const std::string program = folder / "gleamo.scr";
    ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    for (const auto& planted : kPlanted) {
        ASSERT_TRUE(CopyFileA((PlantedFolder() + "\\" + planted.name).c_str(), (folder / planted.name).c_str(), FALSE))
            << planted.name;
    }
    ASSERT_TRUE(WriteFileBytes(folder / "still.bmp", SolidBmp24(8, 8, RGB(1, 2, 3))));
    ASSERT_TRUE(WriteFileBytes(folder / "gleamo.ini",
                               "[Picture]\nCount=1\n[Music]\nPlayMusic=1\nCount=1\n"
                               "[FileList]\nPicture0=still.bmp\nMusic0=absent.wav\n[Debug]\nUseElapse=1\nElapse=10\n"));

    // The markers work: a copy loaded and called on purpose leaves both.
    const std::string probe = folder / "probe.dll";
    ASSERT_TRUE(CopyFileA((folder / kPlanted[0].name).c_str(), probe.c_str(), FALSE));
    HMODULE loaded = LoadLibraryA(probe.c_str());
    ASSERT_NE(loaded, nullptr);
    const auto getDpi = reinterpret_cast<GetDpiForMonitorFn>(
        reinterpret_cast<void*>(GetProcAddress(loaded, "GetDpiForMonitor")));
    ASSERT_NE(getDpi, nullptr);
    UINT dpi[2] = {};
    getDpi(nullptr, 0, &dpi[0], &dpi[1]);
    FreeLibrary(loaded);
    ASSERT_TRUE(FileExists(probe + ".loaded") && FileExists(probe + ".called"));

    SetCursorPos(10, 10);
    RunningProcess saver(program, "/s");
    ASSERT_TRUE(saver.Started());
    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil(SHOW_LIMIT_MS, [&] {
        return (window = VisibleWindowOf(saver, "WindowsScreenSaverClass", "Screen Saver")) != nullptr;
    })) << "the saver did not start";
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0xDEAD;
    EXPECT_TRUE(saver.WaitForExit(END_LIMIT_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    for (const auto& planted : kPlanted) {
        EXPECT_FALSE(FileExists(folder / planted.name + planted.marker))
            << planted.name << " beside the program: " << planted.marker;
    }
}

}  // namespace
