// The process entry of gleamo.scr.
#include <windows.h>

#include "base/system_library.h"
#include "shell/command_line.h"
#include "shell/exception_guard.h"
#include "shell/saver_entry.h"

// The runtime's view of the arguments is ignored: the command line is read
// again so that the switch scan sees exactly what the system passed.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: the program's folder is no place to
    // take one from.
    RestrictDllSearchToSystem();
    InstallExceptionGuard();
    const int result = SaverEntry(GetModuleHandleA(nullptr), SkipProgramName(GetCommandLineA()));
    ExitProcess(static_cast<UINT>(result));
}
