// One page of the settings dialog: a child dialog whose object is kept with
// its window, fills its controls from the record when it is made and writes
// them back when the frame asks.
#pragma once

#include <windows.h>

class ColorChooser;
class SaverSettings;

class SettingsPage {
public:
    explicit SettingsPage(WORD templateId) : templateId_(templateId) {}
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;
    virtual ~SettingsPage() = default;

    // Makes the page's window from its template, hidden, as a child of
    // dialog; OnInit fills the controls from settings inside this call.
    // settings and chooser (may be null) are the frame's, lent for the
    // page's lifetime. False when the window cannot be made.
    bool Create(HWND dialog, SaverSettings& settings, ColorChooser* chooser);
    HWND Window() const { return window_; }

    // Writes the page's controls into the record. False when they cannot all
    // be kept (an entry list cannot grow): the record is then incomplete.
    virtual bool Collect() = 0;

protected:
    SaverSettings& Settings() const { return *settings_; }
    ColorChooser* Chooser() const { return chooser_; }

    // One handler per message the pages answer; each returns what the dialog
    // procedure returns. A page that does not answer a message returns FALSE.
    virtual BOOL OnInit() = 0;
    virtual BOOL OnCommand(int controlId, int code);
    virtual BOOL OnHScroll(HWND control);
    virtual INT_PTR OnCtlColorStatic(HWND control);
    virtual BOOL OnSysColorChange();
    virtual BOOL OnDpiChangedAfterParent();
    virtual BOOL OnDestroy();

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static SettingsPage* Attach(HWND window, LPARAM creationParameter);

    const WORD templateId_;
    HWND window_ = nullptr;
    SaverSettings* settings_ = nullptr;  // the frame's, not owned
    ColorChooser* chooser_ = nullptr;    // the frame's, not owned; may be null
};
