// The music page of the settings dialog: play music, shuffle, and the list of
// music files and folders.
#pragma once

#include <windows.h>

// Creation parameter: the frame's SaverSettings.
INT_PTR CALLBACK MusicPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
