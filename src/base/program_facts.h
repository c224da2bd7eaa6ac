// What every part of the program may ask about the running process: its own
// module and the platform family. Set once at the process entry.
#pragma once

#include <windows.h>

struct ProgramFacts {
    HINSTANCE instance = nullptr;  // the program's own module: resources, window class
    bool isWin9x = false;          // the 95/98 family (VER_PLATFORM_WIN32_WINDOWS)
};

ProgramFacts& Program();

// The module that holds the program's resources: the one recorded at the
// entry, or the executable's when none was (test programs).
HINSTANCE ProgramModule();

// True when GetVersionExA reports the 95/98 family; false when it fails.
bool DetectWin9x();
