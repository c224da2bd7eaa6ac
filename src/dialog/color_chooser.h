// The colour common dialog, with its current colour and 16 custom colours.
#pragma once

#include <windows.h>

constexpr int CUSTOM_COLOR_COUNT = 16;

class ColorChooser {
public:
    // The dialog opens in its basic form, owned by owner, with initialColor
    // preselected and every custom colour white.
    ColorChooser(HWND owner, COLORREF initialColor);
    ColorChooser(const ColorChooser&) = delete;
    ColorChooser& operator=(const ColorChooser&) = delete;
    virtual ~ColorChooser() = default;

    // The colour the next Choose preselects.
    void SetColor(COLORREF color) { record_.rgbResult = color; }

    // The current colour; after a successful Choose, the user's choice.
    COLORREF Color() const { return record_.rgbResult; }

    // Runs the dialog; true when the user pressed OK. Cancel changes nothing.
    bool Choose();

    // The custom colours, read and written in place (CUSTOM_COLOR_COUNT values).
    COLORREF* CustomColors() { return customColors_; }

private:
    CHOOSECOLORA record_;
    COLORREF customColors_[CUSTOM_COLOR_COUNT];
};
