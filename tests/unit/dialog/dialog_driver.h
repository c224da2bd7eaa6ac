// Runs the real settings dialog on a thread of its own and drives it from the
// test's thread by messages, as a user's clicks and keys would.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "support/process_run.h"

enum class Tab { Pictures = 0, Display = 1, Background = 2, Music = 3 };

// The settings file the dialog reads and writes (gleamo.ini beside the test
// program), and a value of it or "<absent>".
std::string DialogIniPath();
std::string IniValue(const char* section, const char* key);
std::string InCodePage932(const wchar_t* text);

class DialogDriver {
public:
    DialogDriver() = default;
    ~DialogDriver();  // cancels a dialog that is still open and deletes the settings file
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Makes ini the settings file (none when empty), opens the dialog and
    // waits until it is shown with its four pages.
    bool Open(const std::string& ini = "");
    // Presses a frame button (IDOK, IDCANCEL); the dialog's result, or 0 when it did not end.
    INT_PTR Press(int frameButton);
    // Presses a frame button, or clicks an enabled button or swatch of a page,
    // that is to open a modal window, and returns that window; null when none came.
    HWND PressOpening(int frameButton);
    HWND ClickOpening(Tab tab, int id);

    HWND Page(Tab tab) const { return pages_[static_cast<int>(tab)]; }
    HWND Control(Tab tab, int id) const { return GetDlgItem(Page(tab), id); }
    void ChooseTab(Tab tab);  // clicks the caption of the tab
    void SetFocusTo(HWND control);
    // A click on a check box, radio button or push button; none on a disabled one.
    void Click(Tab tab, int id);
    // Selects the edit's whole text and types text over it.
    void Type(Tab tab, int id, const std::string& text);
    void Key(Tab tab, int id, UINT virtualKey);

    // The check or enabled states of controls as a string of 0 and 1.
    std::string Checked(Tab tab, std::initializer_list<int> ids) const;
    std::string Enabled(Tab tab, std::initializer_list<int> ids) const;
    std::string Text(Tab tab, int id) const;
    // The texts of a list box, one per item, joined with '|'.
    std::string ListItems(Tab tab, int id) const;

    bool WaitClosed(HWND window);

private:
    static DWORD WINAPI Run(void* self);
    bool Ended() const { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }
    // A visible dialog of the dialog's thread other than the dialog itself;
    // before the dialog is known, the dialog.
    HWND ModalWindow() const;
    HWND Opening(HWND control);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    INT_PTR result_ = 0;
    HWND dialog_ = nullptr;
    HWND pages_[4] = {};
};

// The open-file common dialog: types names (a full path, or several quoted
// names of its current folder) and presses OK; its file name box and folder.
bool ChooseInFileDialog(HWND fileDialog, const std::string& names);
std::string FileDialogName(HWND fileDialog);
std::string FileDialogFolder(HWND fileDialog);
// How far the control's text, drawn in its own font (an access key's "&"
// unseen), overruns its client area; zero or less when it fits.
int TextOverrun(HWND control);
// The title and text of a message box, as "title: text".
std::string MessageBoxText(HWND box);
// The colour common dialog: the colour in its red, green and blue edits.
COLORREF ColorDialogColor(HWND colorDialog);
// Sets red, green and blue, optionally adds the colour to the custom colours,
// then presses OK or Cancel.
void AnswerColorDialog(HWND colorDialog, COLORREF color, bool addCustom, int button);
