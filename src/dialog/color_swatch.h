// The clickable colour swatch of the display and background pages.
#pragma once

#include <windows.h>

class ColorChooser;
class SaverSettings;

// Opens chooser, the colour dialog the pages share. When the user confirms a
// colour, stores it in color, copies the dialog's custom colours into
// settings, replaces brush with a brush of the new colour and repaints swatch.
// Does nothing when there is no colour dialog (chooser null) or the user cancels.
void ChooseSwatchColor(ColorChooser* chooser, SaverSettings& settings, int& color, HBRUSH& brush, HWND swatch);

// The brush for a WM_CTLCOLORSTATIC: brush for the swatch, else none (default colours).
INT_PTR SwatchBrushFor(HWND control, int swatchId, HBRUSH brush);

// Deletes brush if there is one and forgets it.
void ReleaseSwatchBrush(HBRUSH& brush);
