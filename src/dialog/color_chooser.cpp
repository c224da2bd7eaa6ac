#include "dialog/color_chooser.h"

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

}  // namespace

ColorChooser::ColorChooser(HWND owner, COLORREF initialColor) : record_(), customColors_() {
    for (COLORREF& color : customColors_) {
        color = WHITE;
    }
    record_.lStructSize = sizeof record_;
    record_.hwndOwner = owner;
    record_.rgbResult = initialColor;
    record_.lpCustColors = customColors_;
    record_.Flags = CC_RGBINIT;
}

bool ColorChooser::Choose() {
    // The platform writes the custom colours back even when the user cancels
    // after editing them; work on a copy so that Cancel really changes nothing.
    COLORREF edited[CUSTOM_COLOR_COUNT];
    CopyMemory(edited, customColors_, sizeof edited);
    CHOOSECOLORA record = record_;
    record.lpCustColors = edited;
    if (!ChooseColorA(&record)) {
        return false;
    }
    record_.rgbResult = record.rgbResult;
    CopyMemory(customColors_, edited, sizeof customColors_);
    return true;
}
