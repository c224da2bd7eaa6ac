// The picture on the background page's browse button.
#pragma once

#include <windows.h>

// The open-file image of the system's standard toolbar strips, in the current
// button colours, sized for button at the resolution it is drawn at; with
// enabled false its surroundings are white. Null when no strip or bitmap can
// be had. The caller owns the bitmap.
HBITMAP MakeBrowseGlyph(HWND button, bool enabled);
