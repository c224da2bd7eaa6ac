#include "shell/exception_guard.h"

#include <windows.h>

#include "shell/password_verifier.h"

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

// The system's UnhandledExceptionFilter is what calls this filter: calling it
// from here would recurse until the stack is gone. Declining the exception
// lets the system carry on with its own handling.
LONG WINAPI LowerRunningFlagThenDecline(EXCEPTION_POINTERS* exception) {
    SetSaverRunning(FALSE);
    if (previousFilter != nullptr) {
        return previousFilter(exception);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallExceptionGuard() {
    LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(LowerRunningFlagThenDecline);
    // Installed twice, the guard must not chain to itself.
    if (before != LowerRunningFlagThenDecline) {
        previousFilter = before;
    }
}
