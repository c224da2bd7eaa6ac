#include "dialog/tab_texture.h"

#include <uxtheme.h>

#include "base/procedure_lookup.h"
#include "base/system_library.h"

namespace {

typedef HRESULT(WINAPI* EnableThemeDialogTextureFn)(HWND, DWORD);

}  // namespace

void UseTabTexture(HWND page) {
    // Null where the system has none (before Windows XP). The module stays
    // loaded for the life of the process: the pages it has marked consult it
    // whenever they paint.
    static HMODULE library = LoadSystemLibrary("uxtheme.dll");
    if (library == nullptr) {
        return;
    }
    const EnableThemeDialogTextureFn enableTexture =
        ProcedureOf<EnableThemeDialogTextureFn>(library, "EnableThemeDialogTexture");
    if (enableTexture != nullptr) {
        enableTexture(page, ETDT_ENABLETAB);
    }
}
