#include "dialog/settings_page.h"

#include "base/program_facts.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

bool SettingsPage::Create(HWND dialog, SaverSettings& settings, ColorChooser* chooser) {
    settings_ = &settings;
    chooser_ = chooser;
    return CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(templateId_), dialog, Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

BOOL SettingsPage::OnCommand(int, int) {
    return FALSE;
}

BOOL SettingsPage::OnHScroll(HWND) {
    return FALSE;
}

INT_PTR SettingsPage::OnCtlColorStatic(HWND) {
    return FALSE;
}

BOOL SettingsPage::OnSysColorChange() {
    return FALSE;
}

BOOL SettingsPage::OnDpiChangedAfterParent() {
    return FALSE;
}

BOOL SettingsPage::OnDestroy() {
    return FALSE;
}

// The object rides in as the creation parameter and stays in the window's
// DWLP_USER from then on.
SettingsPage* SettingsPage::Attach(HWND window, LPARAM creationParameter) {
    SettingsPage* page = reinterpret_cast<SettingsPage*>(creationParameter);
    SetWindowLongPtrA(window, DWLP_USER, creationParameter);
    page->window_ = window;
    return page;
}

// The messages a dialog gets before WM_INITDIALOG (WM_SETFONT among them)
// find no object yet and keep their default handling.
INT_PTR CALLBACK SettingsPage::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SettingsPage* page = message == WM_INITDIALOG
                             ? Attach(window, lParam)
                             : reinterpret_cast<SettingsPage*>(GetWindowLongPtrA(window, DWLP_USER));
    if (page == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_INITDIALOG:
            return page->OnInit();
        case WM_COMMAND:
            return page->OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_HSCROLL:
            return page->OnHScroll(reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORSTATIC:
            return page->OnCtlColorStatic(reinterpret_cast<HWND>(lParam));
        case WM_SYSCOLORCHANGE:
            return page->OnSysColorChange();
        case WM_DPICHANGED_AFTERPARENT:
            return page->OnDpiChangedAfterParent();
        case WM_DESTROY:
            return page->OnDestroy();
        default:
            return FALSE;
    }
}
