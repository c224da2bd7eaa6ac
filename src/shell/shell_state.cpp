#include "shell/shell_state.h"

ShellState& Shell() {
    static ShellState state;
    return state;
}

bool DetectWin9x() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL known = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
