#include "dialog_driver.h"

#include <commctrl.h>
#include <dlgs.h>

#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

// The colour dialog's red, green and blue edits and its add-to-custom button.
constexpr int COLOR_RED_EDIT = 706;
constexpr int COLOR_GREEN_EDIT = 707;
constexpr int COLOR_BLUE_EDIT = 708;
constexpr int COLOR_ADD_CUSTOM = 712;

// Limits of the bounded waits: generous, since a first common dialog under
// Wine takes a while to come up.
constexpr DWORD DRIVER_LIMIT_MS = 10000;
constexpr DWORD CANCEL_LIMIT_MS = 5000;

bool IsDialogWindow(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

struct ThreadWindows {
    HWND except;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM context) {
    ThreadWindows* search = reinterpret_cast<ThreadWindows*>(context);
    if (window != search->except && IsWindowVisible(window) && IsDialogWindow(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Which page a child dialog is, told by a control only it has.
int PageIndexOf(HWND page) {
    if (GetDlgItem(page, IDC_PICTURES_LIST) != nullptr && GetDlgItem(page, IDC_DISPLAY_CHECK_CENTER) == nullptr) {
        return static_cast<int>(Tab::Pictures);
    }
    if (GetDlgItem(page, IDC_DISPLAY_CHECK_RANDOM_ZOOM) != nullptr) {
        return static_cast<int>(Tab::Display);
    }
    if (GetDlgItem(page, IDC_BACKGROUND_CHECK_SET) != nullptr) {
        return static_cast<int>(Tab::Background);
    }
    if (GetDlgItem(page, IDC_MUSIC_LIST) != nullptr) {
        return static_cast<int>(Tab::Music);
    }
    return -1;
}

}  // namespace

std::string DialogIniPath() {
    return ExecutableFolder() + "gleamo.ini";
}

DialogDriver::~DialogDriver() {
    if (thread_ != nullptr) {
        for (int attempt = 0; attempt < 5 && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT; ++attempt) {
            if (HWND modal = ModalWindow()) {
                PostMessageA(modal, WM_COMMAND, IDCANCEL, 0);
                WaitClosed(modal);
            }
            if (dialog_ != nullptr) {
                PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
            }
            WaitUntil(CANCEL_LIMIT_MS, [this] { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; });
        }
        CloseHandle(thread_);
    }
}

DWORD WINAPI DialogDriver::Run(void* self) {
    DialogDriver* driver = static_cast<DialogDriver*>(self);
    driver->result_ = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                                      SettingsDialogProc, 0);
    return 0;
}

bool DialogDriver::Open() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
    if (thread_ == nullptr) {
        return false;
    }
    const bool shown = WaitUntil(DRIVER_LIMIT_MS, [this] {
        ThreadWindows search = {nullptr, nullptr};
        EnumThreadWindows(threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
        dialog_ = search.found;
        return dialog_ != nullptr || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
    });
    if (!shown || dialog_ == nullptr) {
        return false;
    }
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = IsDialogWindow(child) ? PageIndexOf(child) : -1;
        if (index >= 0) {
            pages_[index] = child;
        }
    }
    for (HWND page : pages_) {
        if (page == nullptr) {
            return false;
        }
    }
    return true;
}

INT_PTR DialogDriver::Press(int frameButton) {
    PostMessageA(GetDlgItem(dialog_, frameButton), BM_CLICK, 0, 0);
    return WaitForEnd();
}

INT_PTR DialogDriver::WaitForEnd() {
    if (!WaitUntil(DRIVER_LIMIT_MS, [this] { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; })) {
        return 0;
    }
    dialog_ = nullptr;
    return result_;
}

void DialogDriver::ChooseTab(Tab tab) {
    HWND tabs = GetDlgItem(dialog_, IDC_SETTINGS_TAB);
    RECT item = {};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(tabs, WM_LBUTTONUP, 0, point);
}

HWND DialogDriver::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

void DialogDriver::SetFocusTo(HWND control) {
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// A disabled control takes no click from the user, so none is sent to it.
void DialogDriver::Click(Tab tab, int id) {
    if (IsEnabled(tab, id)) {
        SendMessageA(Control(tab, id), BM_CLICK, 0, 0);
    }
}

HWND DialogDriver::ModalWindow() const {
    ThreadWindows search = {dialog_, nullptr};
    EnumThreadWindows(threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DialogDriver::ClickOpening(Tab tab, int id) {
    if (!IsEnabled(tab, id)) {
        return nullptr;
    }
    PostMessageA(Control(tab, id), BM_CLICK, 0, 0);
    HWND modal = nullptr;
    WaitUntil(DRIVER_LIMIT_MS, [&] { return (modal = ModalWindow()) != nullptr; });
    return modal;
}

HWND DialogDriver::ClickStaticOpening(Tab tab, int id) {
    if (!IsEnabled(tab, id)) {
        return nullptr;
    }
    PostMessageA(Control(tab, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(Control(tab, id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    HWND modal = nullptr;
    WaitUntil(DRIVER_LIMIT_MS, [&] { return (modal = ModalWindow()) != nullptr; });
    return modal;
}

bool DialogDriver::WaitClosed(HWND window) {
    return WaitUntil(DRIVER_LIMIT_MS, [window] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool DialogDriver::IsChecked(Tab tab, int id) const {
    return SendMessageA(Control(tab, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DialogDriver::IsEnabled(Tab tab, int id) const {
    return IsWindowEnabled(Control(tab, id)) != FALSE;
}

std::string DialogDriver::Text(Tab tab, int id) const {
    char text[1024] = {};
    GetWindowTextA(Control(tab, id), text, sizeof text);
    return text;
}

void DialogDriver::Type(Tab tab, int id, const std::string& text) {
    HWND edit = Control(tab, id);
    SetFocusTo(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (unsigned char c : text) {
        SendMessageA(edit, WM_CHAR, c, 1);
    }
}

void DialogDriver::Key(Tab tab, int id, UINT virtualKey) {
    HWND control = Control(tab, id);
    SendMessageA(control, WM_KEYDOWN, virtualKey, 1);
    SendMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

std::string DialogDriver::ListItems(Tab tab, int id) const {
    HWND list = Control(tab, id);
    std::string joined;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char item[1024] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        joined += (i > 0 ? "|" : "") + std::string(item);
    }
    return joined;
}

bool ChooseInFileDialog(HWND fileDialog, const std::string& folder, const std::string& names) {
    // Explorer-style dialogs name their file name box cmb13 on Windows and edt1 under Wine.
    HWND nameBox = GetDlgItem(fileDialog, cmb13);
    if (nameBox == nullptr) {
        nameBox = GetDlgItem(fileDialog, edt1);
    }
    if (nameBox == nullptr) {
        return false;
    }
    if (!folder.empty()) {
        SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        PostMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
        const bool moved = WaitUntil(DRIVER_LIMIT_MS, [&] {
            char current[MAX_PATH] = {};
            SendMessageA(fileDialog, CDM_GETFOLDERPATH, sizeof current, reinterpret_cast<LPARAM>(current));
            std::string path = current;
            if (!path.empty() && path.back() != '\\') {
                path += '\\';
            }
            return lstrcmpiA(path.c_str(), folder.c_str()) == 0;
        });
        if (!moved) {
            return false;
        }
    }
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    PostMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
    return WaitUntil(DRIVER_LIMIT_MS, [fileDialog] { return !IsWindow(fileDialog); });
}

void AnswerColorDialog(HWND colorDialog, COLORREF color, bool addCustom, int button) {
    SetDlgItemInt(colorDialog, COLOR_RED_EDIT, GetRValue(color), FALSE);
    SetDlgItemInt(colorDialog, COLOR_GREEN_EDIT, GetGValue(color), FALSE);
    SetDlgItemInt(colorDialog, COLOR_BLUE_EDIT, GetBValue(color), FALSE);
    if (addCustom) {
        SendMessageA(colorDialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD_CUSTOM, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(colorDialog, COLOR_ADD_CUSTOM)));
    }
    PostMessageA(colorDialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(colorDialog, button)));
    WaitUntil(DRIVER_LIMIT_MS, [colorDialog] { return !IsWindow(colorDialog); });
}
