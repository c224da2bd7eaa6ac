// DLLs the program loads itself come from the system folder and nowhere else:
// a screen saver is often run from wherever it was saved (a Downloads folder),
// where a file named like a system DLL may have been put by someone else, and
// the system would search there first.
#pragma once

#include <windows.h>

// Keeps the DLL search of the whole process to the system folder (and the
// side-by-side assemblies the manifest names), where the system offers it:
// SetDefaultDllDirectories, from Windows 8 and on Windows Vista and 7 with
// their loader update. The first thing the program does. Elsewhere only the
// full paths of LoadSystemLibrary protect.
void RestrictDllSearchToSystem();

// name (a file name, no folder) loaded by its full path in the system folder;
// null when it is not there, cannot be loaded, or the path would not fit.
HMODULE LoadSystemLibrary(const char* name);
