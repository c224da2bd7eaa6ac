#include "dialog/color_swatch.h"

#include "dialog/color_chooser.h"
#include "settings/saver_settings.h"

void ChooseSwatchColor(ColorChooser* chooser, SaverSettings& settings, int& color, HBRUSH& brush, HWND swatch) {
    if (chooser == nullptr || !chooser->Choose()) {
        return;
    }
    color = static_cast<int>(chooser->Color());
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        settings.customColors[i] = static_cast<int>(chooser->CustomColors()[i]);
    }
    ReleaseSwatchBrush(brush);
    brush = CreateSolidBrush(static_cast<COLORREF>(color));
    InvalidateRect(swatch, nullptr, FALSE);
}

INT_PTR SwatchBrushFor(HWND control, int swatchId, HBRUSH brush) {
    if (GetDlgCtrlID(control) != swatchId) {
        return 0;
    }
    return reinterpret_cast<INT_PTR>(brush);
}

void ReleaseSwatchBrush(HBRUSH& brush) {
    if (brush != nullptr) {
        DeleteObject(brush);
        brush = nullptr;
    }
}
