// The 95/98 family's screen-saver password: the system's verify routine,
// loaded from its control-panel library when the user turned the password on,
// and the flag that tells the system a screen saver is running.
#pragma once

#include <windows.h>

// VerifyScreenSavePwd: shows the system's prompt for the saver window and
// returns nonzero when closing is allowed.
typedef BOOL(WINAPI* VerifyPasswordFn)(HWND window);

// Loads the verifier when the 95/98 family asks for a password
// (HKEY_CURRENT_USER "Control Panel\Desktop" "ScreenSaveUsePassword"), and
// raises the running flag while it is loaded. Nothing on other platforms.
void LoadPasswordVerifier();

// Frees the verifier library and lowers the running flag.
void UnloadPasswordVerifier();

// The loaded verify function, or null when no password is asked.
VerifyPasswordFn PasswordVerifier();

// Puts a verify function in place without any library, so that tests can
// play the 95/98 prompt on any platform. Null removes it.
void SetPasswordVerifierForTest(VerifyPasswordFn verify);

// SPI_SCREENSAVERRUNNING, on the 95/98 family only.
void SetSaverRunning(BOOL running);
