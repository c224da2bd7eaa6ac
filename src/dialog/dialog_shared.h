// What the frame of the settings dialog lends its pages.
#pragma once

#include <windows.h>

class ColorChooser;

// The module that holds the dialog templates and strings.
HINSTANCE DialogModule();

// The one colour dialog of the current settings dialog run, shared by the
// display and background pages; null when it could not be made or no dialog
// is open.
ColorChooser* SharedColorChooser();
