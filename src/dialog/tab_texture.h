// The background of a page that lies inside a tab control.
#pragma once

#include <windows.h>

// Makes page paint the tab control's own themed background behind its
// controls, as the system's property sheets do. Does nothing where the system
// has no visual styles (Windows 95, 98, Me, NT 4 and 2000) or none is active.
void UseTabTexture(HWND page);
