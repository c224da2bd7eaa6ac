// The pictures page of the settings dialog: the list of picture files and folders.
#pragma once

#include <windows.h>

// Creation parameter: the frame's SaverSettings.
INT_PTR CALLBACK PicturesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
