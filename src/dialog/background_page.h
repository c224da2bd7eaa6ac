// The background page of the settings dialog: the captured desktop, a
// picture (tiled or stretched, with a brightness) or a plain colour.
#pragma once

#include <windows.h>

// Creation parameter: the frame's SaverSettings.
INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The open-file image of the system's standard toolbar strip, 16 x 16, in the
// current button colours; with enabled false its surroundings are white.
// Null when the strip or a bitmap cannot be had. The caller owns the bitmap.
HBITMAP MakeBrowseGlyph(HWND page, bool enabled);

// The page's controls follow the set-a-background check box and the
// picture / colour radio buttons; the browse glyph is rebuilt to match.
void UpdateBackgroundControls(HWND page);
