#include "base/program_facts.h"

ProgramFacts& Program() {
    static ProgramFacts facts;
    return facts;
}

HINSTANCE ProgramModule() {
    return Program().instance != nullptr ? Program().instance : GetModuleHandleA(nullptr);
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
