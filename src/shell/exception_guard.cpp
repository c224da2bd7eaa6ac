#include "shell/exception_guard.h"

#include <windows.h>

#include "shell/password_verifier.h"

namespace {

LONG WINAPI LowerRunningFlagThenDefer(EXCEPTION_POINTERS* exception) {
    SetSaverRunning(FALSE);
    return UnhandledExceptionFilter(exception);
}

}  // namespace

void InstallExceptionGuard() {
    SetUnhandledExceptionFilter(LowerRunningFlagThenDefer);
}
