// The 95/98 family's screen-saver password: the system's verify routine,
// loaded from its control-panel library when the user turned the password on,
// and the flag that tells the system a screen saver is running.
#pragma once

#include <windows.h>

#include "base/test_hooks.h"  // VerifyPasswordFn

// Loads the verifier when the 95/98 family asks for a password
// (HKEY_CURRENT_USER "Control Panel\Desktop" "ScreenSaveUsePassword"), and
// raises the running flag while it is loaded. Nothing on other platforms.
void LoadPasswordVerifier();

// Frees the verifier library and lowers the running flag.
void UnloadPasswordVerifier();

// The loaded verify function (or a test's), null when no password is asked.
VerifyPasswordFn PasswordVerifier();

// SPI_SCREENSAVERRUNNING, on the 95/98 family only.
void SetSaverRunning(BOOL running);
