#include "dialog/tab_texture.h"

#include <uxtheme.h>

#include "base/procedure_lookup.h"

namespace {

typedef HRESULT(WINAPI* EnableThemeDialogTextureFn)(HWND, DWORD);

constexpr int SYSTEM_PATH_SIZE = MAX_PATH + 16;

// uxtheme.dll from the system folder, or null where there is none. Named by
// its full path so that a file of that name beside the program is never
// loaded in its place. The module stays loaded for the life of the process:
// the pages it has marked consult it whenever they paint.
HMODULE ThemeLibrary() {
    char path[SYSTEM_PATH_SIZE] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    lstrcatA(path, "\\uxtheme.dll");
    return LoadLibraryA(path);
}

}  // namespace

void UseTabTexture(HWND page) {
    static HMODULE library = ThemeLibrary();
    if (library == nullptr) {
        return;
    }
    const EnableThemeDialogTextureFn enableTexture =
        ProcedureOf<EnableThemeDialogTextureFn>(library, "EnableThemeDialogTexture");
    if (enableTexture != nullptr) {
        enableTexture(page, ETDT_ENABLETAB);
    }
}
