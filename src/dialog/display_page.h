// The display page of the settings dialog: how pictures are shown.
#pragma once

#include <windows.h>

#include "dialog/settings_page.h"

class DisplayPage : public SettingsPage {
public:
    DisplayPage();

    // The check boxes, number edits, transparent-colour choice and speed;
    // the mask colour is already in the record, written when it was chosen.
    bool Collect() override;

private:
    BOOL OnInit() override;
    BOOL OnCommand(int controlId, int code) override;
    BOOL OnHScroll(HWND control) override;
    INT_PTR OnCtlColorStatic(HWND control) override;
    BOOL OnSysColorChange() override;
    BOOL OnDestroy() override;

    HBRUSH swatchBrush_ = nullptr;  // owned: paints the swatch in maskColor
};
