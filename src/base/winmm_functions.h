// The multimedia functions of winmm.dll the program uses: the timer and the
// media control interface. winmm is not one of the system's known DLLs, so
// it is not imported: an import of it would be searched for in the program's
// own folder first, before a line of the program runs. It is loaded from the
// system folder the first time Winmm() is asked.
#pragma once

#include <windows.h>

#include <mmsystem.h>

struct WinmmFunctions {
    MCIERROR(WINAPI* mciSendCommandA)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
    // For the open of a file by its wide name, on the NT family only.
    MCIERROR(WINAPI* mciSendCommandW)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
    MMRESULT(WINAPI* timeGetDevCaps)(LPTIMECAPS caps, UINT size);
    MMRESULT(WINAPI* timeBeginPeriod)(UINT period);
    MMRESULT(WINAPI* timeEndPeriod)(UINT period);
    MMRESULT(WINAPI* timeSetEvent)(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags);
    MMRESULT(WINAPI* timeKillEvent)(UINT timerId);
    UINT(WINAPI* waveOutGetNumDevs)();
};

// No entry is null: where winmm cannot be loaded, or lacks a function, the
// entry fails as the platform's does without a device (MCI opens nothing, the
// timer offers no resolution and sets no event, there is no wave output). The program then plays no
// music, and a slideshow start is refused as when the timer cannot be had.
// Loaded once, by the first call from whichever thread (the window's, the
// music's) makes it.
const WinmmFunctions& Winmm();
