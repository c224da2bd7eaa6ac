#include "base/window_dpi.h"

#include "base/gdi_guards.h"
#include "base/procedure_lookup.h"

namespace {

constexpr int BASE_DPI = 96;

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);

}  // namespace

int WindowDpi(HWND window) {
    // Looked up at run time: user32 has it only from Windows 10 1607 on.
    const GetDpiForWindowFn forWindow = LoadedProcedureOf<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    ScopedClientDc dc(window);
    const int dpi = dc.Get() != nullptr ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : BASE_DPI;
}
