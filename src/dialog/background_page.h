// The background page of the settings dialog: the captured desktop, a
// picture (tiled or stretched, with a brightness) or a plain colour.
#pragma once

#include <windows.h>

// Creation parameter: the frame's SaverSettings.
INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The page's controls follow the set-a-background check box and the
// picture / colour radio buttons; the browse glyph is rebuilt to match.
void UpdateBackgroundControls(HWND page);
