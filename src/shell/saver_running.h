// Tells the 95/98 family that a screen saver is running, so that it blocks the
// task-switching keys while the password prompt guards the screen.
#pragma once

#include <windows.h>

// Does something on the 95/98 family only.
void SetSaverRunning(BOOL running);
