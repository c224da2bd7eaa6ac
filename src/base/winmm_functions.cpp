#include "base/winmm_functions.h"

#include "base/procedure_lookup.h"
#include "base/system_library.h"

namespace {

MCIERROR WINAPI NoMciSendCommand(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR) {
    return MCIERR_CANNOT_LOAD_DRIVER;
}

MMRESULT WINAPI NoTimeGetDevCaps(LPTIMECAPS, UINT) {
    return TIMERR_NOCANDO;
}

MMRESULT WINAPI NoTimePeriod(UINT) {
    return TIMERR_NOCANDO;
}

// 0 is the id no event has.
MMRESULT WINAPI NoTimeSetEvent(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT) {
    return 0;
}

MMRESULT WINAPI NoTimeKillEvent(UINT) {
    return MMSYSERR_INVALPARAM;
}

UINT WINAPI NoWaveOutGetNumDevs() {
    return 0;
}

const WinmmFunctions standIns = {NoMciSendCommand, NoMciSendCommand, NoTimeGetDevCaps, NoTimePeriod,
                                 NoTimePeriod,     NoTimeSetEvent,   NoTimeKillEvent,  NoWaveOutGetNumDevs};

// The module's function, or the stand-in where it has none.
template <typename Fn>
void Take(HMODULE module, const char* name, Fn& entry) {
    const Fn found = ProcedureOf<Fn>(module, name);
    if (found != nullptr) {
        entry = found;
    }
}

WinmmFunctions LoadWinmm() {
    WinmmFunctions functions = standIns;
    // Never freed: the timer's thread and the devices MCI opened live in it
    // until the process ends.
    HMODULE winmm = LoadSystemLibrary("winmm.dll");
    Take(winmm, "mciSendCommandA", functions.mciSendCommandA);
    Take(winmm, "mciSendCommandW", functions.mciSendCommandW);
    Take(winmm, "timeGetDevCaps", functions.timeGetDevCaps);
    Take(winmm, "timeBeginPeriod", functions.timeBeginPeriod);
    Take(winmm, "timeEndPeriod", functions.timeEndPeriod);
    Take(winmm, "timeSetEvent", functions.timeSetEvent);
    Take(winmm, "timeKillEvent", functions.timeKillEvent);
    Take(winmm, "waveOutGetNumDevs", functions.waveOutGetNumDevs);
    return functions;
}

}  // namespace

const WinmmFunctions& Winmm() {
    static const WinmmFunctions functions = LoadWinmm();
    return functions;
}
