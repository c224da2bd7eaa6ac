#include "base/system_library.h"

#include "base/procedure_lookup.h"

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD flags);

}  // namespace

void RestrictDllSearchToSystem() {
    const SetDefaultDllDirectoriesFn restrict =
        LoadedProcedureOf<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
    if (restrict != nullptr) {
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT folderLength = GetSystemDirectoryA(path, MAX_PATH);
    // The folder, a backslash, the name and the terminator.
    if (folderLength == 0 || folderLength + 1 + static_cast<UINT>(lstrlenA(name)) + 1 > MAX_PATH) {
        return nullptr;
    }
    path[folderLength] = '\\';
    lstrcpyA(path + folderLength + 1, name);
    return LoadLibraryA(path);
}
