// The background page of the settings dialog: the captured desktop, a
// picture (tiled or stretched, with a brightness) or a plain colour.
#pragma once

#include <windows.h>

#include "dialog/settings_page.h"

class FilePicker;

class BackgroundPage : public SettingsPage {
public:
    BackgroundPage();

    // The brightness, tile and picture choices, the path and the
    // set-a-background check box; the background colour is already in the
    // record, written when it was chosen.
    bool Collect() override;

private:
    BOOL OnInit() override;
    BOOL OnCommand(int controlId, int code) override;
    BOOL OnHScroll(HWND control) override;
    INT_PTR OnCtlColorStatic(HWND control) override;
    BOOL OnSysColorChange() override;
    BOOL OnDpiChangedAfterParent() override;
    BOOL OnDestroy() override;

    void UpdateControls();
    void RebuildBrowseGlyph();
    void BrowseForPicture();

    FilePicker* filePicker_ = nullptr;  // owned; null when it could not be made
    HBITMAP browseGlyph_ = nullptr;     // owned; shown on the browse button
    HBRUSH swatchBrush_ = nullptr;      // owned: paints the swatch in backColor
};
