// The program's one message to the user.
#pragma once

#include <windows.h>

// "An unexpected error has occurred", in a warning box titled "Gleamo".
void ShowUnexpectedError(HWND owner);
