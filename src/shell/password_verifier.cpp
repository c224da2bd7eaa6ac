#include "shell/password_verifier.h"

#include "base/procedure_lookup.h"
#include "base/program_facts.h"
#include "base/system_library.h"
#include "base/test_hooks.h"

namespace {

struct VerifierState {
    HMODULE library = nullptr;  // "PASSWORD.CPL" while loaded
    VerifyPasswordFn verify = nullptr;
};

VerifierState& Verifier() {
    static VerifierState state;
    return state;
}

}  // namespace

void SetSaverRunning(BOOL running) {
    if (!Program().isWin9x) {
        return;
    }
    BOOL scratch = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, static_cast<UINT>(running), &scratch, 0);
}

void LoadPasswordVerifier() {
    if (!Program().isWin9x) {
        return;
    }
    if (Verifier().library != nullptr) {
        UnloadPasswordVerifier();
    }
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
        return;
    }
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    const LONG read = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&usePassword), &size);
    if (read == ERROR_SUCCESS && usePassword != 0) {
        Verifier().library = LoadSystemLibrary("PASSWORD.CPL");
        if (Verifier().library != nullptr) {
            Verifier().verify = ProcedureOf<VerifyPasswordFn>(Verifier().library, "VerifyScreenSavePwd");
            if (Verifier().verify != nullptr) {
                SetSaverRunning(TRUE);
            } else {
                UnloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(desktop);
}

void UnloadPasswordVerifier() {
    if (!Program().isWin9x || Verifier().library == nullptr) {
        return;
    }
    FreeLibrary(Verifier().library);
    Verifier().library = nullptr;
    if (Verifier().verify != nullptr) {
        Verifier().verify = nullptr;
        SetSaverRunning(FALSE);
    }
}

VerifyPasswordFn PasswordVerifier() {
    return Hooks().verifyPassword != nullptr ? Hooks().verifyPassword : Verifier().verify;
}
