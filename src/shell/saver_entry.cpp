#include "shell/saver_entry.h"

#include "base/procedure_lookup.h"
#include "base/program_facts.h"
#include "base/system_library.h"
#include "dialog/settings_dialog.h"
#include "shell/saver_window.h"
#include "shell/switch_scan.h"

namespace {

constexpr int MODE_REFUSED = -1;

// PwdChangePasswordA of MPR.DLL (95/98 family only).
typedef DWORD(WINAPI* PwdChangePasswordFn)(LPCSTR provider, HWND parent, DWORD reserved1, DWORD reserved2);

// A handle that names an existing window, else null.
HWND ExistingWindow(HWND window) {
    return (window != nullptr && IsWindow(window)) ? window : nullptr;
}

HWND ExistingWindowOrForeground(HWND window) {
    HWND existing = ExistingWindow(window);
    return existing != nullptr ? existing : GetForegroundWindow();
}

}  // namespace

const SaverModes& RealSaverModes() {
    static const SaverModes modes = {ShowSettingsDialog, RunSaverWindow, ChangeSaverPassword};
    return modes;
}

HWND ParseWindowHandle(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(ParseHandleValue(text)));
}

int SaverEntry(HINSTANCE instance, const char* arguments) {
    Program().instance = instance;
    Program().isWin9x = DetectWin9x();
    return DispatchSaverMode(arguments, Program().isWin9x, RealSaverModes());
}

int DispatchSaverMode(const char* arguments, bool isWin9x, const SaverModes& modes) {
    const SaverSwitch found = ScanSaverSwitch(arguments);
    switch (found.mode) {
        case SaverMode::Settings:
            return modes.showSettingsDialog(nullptr);
        case SaverMode::FullScreen:
            return modes.runSaverWindow(nullptr);
        case SaverMode::SettingsOwned: {
            HWND owner = found.handleText != nullptr ? ParseWindowHandle(found.handleText) : nullptr;
            return modes.showSettingsDialog(ExistingWindowOrForeground(owner));
        }
        case SaverMode::Preview: {
            HWND parent = ExistingWindow(ParseWindowHandle(found.handleText));
            return parent != nullptr ? modes.runSaverWindow(parent) : MODE_REFUSED;
        }
        case SaverMode::ChangePassword:
            if (!isWin9x) {
                return MODE_REFUSED;
            }
            modes.changeSaverPassword(ExistingWindowOrForeground(ParseWindowHandle(found.handleText)));
            return 0;
        case SaverMode::Invalid:
            break;
    }
    return MODE_REFUSED;
}

void ChangeSaverPassword(HWND parent) {
    HMODULE library = LoadSystemLibrary("MPR.DLL");
    if (library == nullptr) {
        return;
    }
    const PwdChangePasswordFn change = ProcedureOf<PwdChangePasswordFn>(library, "PwdChangePasswordA");
    if (change != nullptr) {
        change("SCRSAVE", parent, 0, 0);
    }
    FreeLibrary(library);
}
