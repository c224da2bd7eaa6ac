#include "dialog/settings_dialog.h"

// The dialog's template and pages are not part of this build yet, so the
// dialog never opens and this procedure is never reached.
INT_PTR CALLBACK SettingsDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
