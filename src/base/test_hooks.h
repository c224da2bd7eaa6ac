// Stand-ins for the platform and failures on demand, which tests put in place
// to reach paths a test machine cannot. Every member zero or null is the
// program as it runs for a user; the tests' main resets them after each test.
#pragma once

#include <windows.h>

#include <mmsystem.h>

struct IWICBitmapFrameDecode;
class MusicPlayer;

// timeBeginPeriod.
typedef MMRESULT(WINAPI* BeginTimerPeriodFn)(UINT period);
// VerifyScreenSavePwd: shows the system's prompt for the saver window and
// returns nonzero when closing is allowed.
typedef BOOL(WINAPI* VerifyPasswordFn)(HWND window);
// kernel32's IsProcessorFeaturePresent.
typedef BOOL(WINAPI* ProcessorFeatureQueryFn)(DWORD feature);
// MoveFileA, as the 95/98 way of an ini save uses it.
typedef BOOL(WINAPI* IniMoveFileFn)(const char* from, const char* to);
// The open of one music file on the player, with its notices going to window.
typedef MCIERROR (*TrackOpenFn)(MusicPlayer& player, HWND window, const wchar_t* file);
typedef UINT (*OutputDeviceCountFn)();

struct TestHooks {
    // Base: files and music are opened the 95/98 way, by their names in the
    // ANSI code page, on any system.
    bool win9xFileNames;

    // Engine: the timer resolution raise that may refuse a start; a wait
    // added to every load on the worker (it is read there while the window
    // thread may change it); a worker thread that does not start.
    BeginTimerPeriodFn beginTimerPeriod;
    volatile DWORD slideLoadDelayMs;
    bool slideWorkerRefused;

    // Shell: the 95/98 password prompt on any platform, with no library.
    VerifyPasswordFn verifyPassword;

    // Imaging: no opaque region can be made (out of memory or GDI objects);
    // a system without the imaging component; a frame that the imaging
    // component's Open takes in place of the file's first one (not owned);
    // kernel32's feature query replaced, by null for one that lacks it.
    bool opaqueRegionFails;
    bool imagingComponentMissing;
    IWICBitmapFrameDecode* decoderFrame;
    bool processorFeatureQueryReplaced;
    ProcessorFeatureQueryFn processorFeatureQuery;

    // Settings: an ini save takes the 95/98 way on any system, with iniMove
    // in MoveFileA's place when set.
    bool win9xIniSave;
    IniMoveFileFn iniMove;

    // Music: the open of each file and the count of wave output devices.
    TrackOpenFn trackOpen;
    OutputDeviceCountFn outputDeviceCount;
};

TestHooks& Hooks();

void ResetTestHooks();
