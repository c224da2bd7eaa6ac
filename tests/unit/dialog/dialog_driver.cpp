#include "dialog_driver.h"

#include <colordlg.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <utility>

#include "base/gdi_guards.h"
#include "dialog/settings_dialog.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

// Generous: a first common dialog under Wine takes a while to come up.
constexpr DWORD DRIVER_LIMIT_MS = 10000;

// Explorer-style dialogs name their file name box cmb13 on Windows and edt1 under Wine.
HWND FileNameBox(HWND fileDialog) {
    HWND combo = GetDlgItem(fileDialog, cmb13);
    return combo != nullptr ? combo : GetDlgItem(fileDialog, edt1);
}

bool IsDialogWindow(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

// Looks for a visible dialog other than search->first and keeps it in search->second.
BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(context);
    if (window == search->first || !IsWindowVisible(window) || !IsDialogWindow(window)) {
        return TRUE;
    }
    search->second = window;
    return FALSE;
}

// Which page a child dialog is, told by a control only it has. Pages share
// control ids, so the order of the marks matters.
int PageIndexOf(HWND page) {
    const std::pair<Tab, int> marks[] = {{Tab::Display, IDC_DISPLAY_CHECK_RANDOM_ZOOM},
                                         {Tab::Background, IDC_BACKGROUND_CHECK_SET},
                                         {Tab::Pictures, IDC_PICTURES_LIST},
                                         {Tab::Music, IDC_MUSIC_LIST}};
    for (const auto& mark : marks) {
        if (GetDlgItem(page, mark.second) != nullptr) {
            return static_cast<int>(mark.first);
        }
    }
    return -1;
}

}  // namespace

std::string DialogIniPath() { return ExecutableFolder() + "gleamo.ini"; }

std::string IniValue(const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, DialogIniPath().c_str());
    return value;
}

std::string InCodePage932(const wchar_t* text) {
    char buffer[256] = {};
    WideCharToMultiByte(932, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

DialogDriver::~DialogDriver() {
    for (int attempt = 0; thread_ != nullptr && attempt < 5 && !Ended(); ++attempt) {
        if (HWND modal = ModalWindow()) {
            PostMessageA(modal, WM_COMMAND, IDCANCEL, 0);
            WaitClosed(modal);
        }
        PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        WaitUntil(DRIVER_LIMIT_MS, [this] { return Ended(); });
    }
    if (thread_ != nullptr) {
        CloseHandle(thread_);
    }
    DeleteFileA(DialogIniPath().c_str());
}

DWORD WINAPI DialogDriver::Run(void* self) {
    static_cast<DialogDriver*>(self)->result_ = ShowSettingsDialog(nullptr);
    return 0;
}

bool DialogDriver::Open(const std::string& ini) {
    DeleteFileA(DialogIniPath().c_str());
    if (!ini.empty() && !WriteFileBytes(DialogIniPath(), ini)) {
        return false;
    }
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
    if (thread_ == nullptr ||
        !WaitUntil(DRIVER_LIMIT_MS, [this] { return (dialog_ = ModalWindow()) != nullptr || Ended(); }) ||
        dialog_ == nullptr) {
        return false;
    }
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = IsDialogWindow(child) ? PageIndexOf(child) : -1;
        if (index >= 0) {
            pages_[index] = child;
        }
    }
    return std::find(pages_, pages_ + 4, nullptr) == pages_ + 4;
}

INT_PTR DialogDriver::Press(int frameButton) {
    PostMessageA(GetDlgItem(dialog_, frameButton), BM_CLICK, 0, 0);
    if (!WaitUntil(DRIVER_LIMIT_MS, [this] { return Ended(); })) {
        return 0;
    }
    dialog_ = nullptr;
    return result_;
}

HWND DialogDriver::PressOpening(int frameButton) { return Opening(GetDlgItem(dialog_, frameButton)); }

HWND DialogDriver::ClickOpening(Tab tab, int id) {
    return IsWindowEnabled(Control(tab, id)) ? Opening(Control(tab, id)) : nullptr;
}

// Posted, so that the test goes on while the dialog's thread runs the modal window.
HWND DialogDriver::Opening(HWND control) {
    // A swatch is a static control: it takes the mouse, not BM_CLICK.
    char kind[16] = {};
    GetClassNameA(control, kind, sizeof kind);
    if (lstrcmpiA(kind, "Static") == 0) {
        PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } else {
        PostMessageA(control, BM_CLICK, 0, 0);
    }
    HWND modal = nullptr;
    WaitUntil(DRIVER_LIMIT_MS, [&] { return (modal = ModalWindow()) != nullptr || Ended(); });
    return modal;
}

HWND DialogDriver::ModalWindow() const {
    std::pair<HWND, HWND> search = {dialog_, nullptr};
    EnumThreadWindows(threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

bool DialogDriver::WaitClosed(HWND window) {
    return WaitUntil(DRIVER_LIMIT_MS, [window] { return !IsWindow(window) || !IsWindowVisible(window); });
}

void DialogDriver::ChooseTab(Tab tab) {
    HWND tabs = GetDlgItem(dialog_, IDC_SETTINGS_TAB);
    RECT item = {};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(tabs, WM_LBUTTONUP, 0, point);
}

void DialogDriver::SetFocusTo(HWND control) {
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void DialogDriver::Click(Tab tab, int id) {
    if (IsWindowEnabled(Control(tab, id))) {
        SendMessageA(Control(tab, id), BM_CLICK, 0, 0);
    }
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
    SendMessageA(Control(tab, id), WM_KEYDOWN, virtualKey, 1);
    SendMessageA(Control(tab, id), WM_KEYUP, virtualKey, 0xC0000001);
}

std::string DialogDriver::Checked(Tab tab, std::initializer_list<int> ids) const {
    std::string states;
    for (int id : ids) {
        states += SendMessageA(Control(tab, id), BM_GETCHECK, 0, 0) == BST_CHECKED ? '1' : '0';
    }
    return states;
}

std::string DialogDriver::Enabled(Tab tab, std::initializer_list<int> ids) const {
    std::string states;
    for (int id : ids) {
        states += IsWindowEnabled(Control(tab, id)) ? '1' : '0';
    }
    return states;
}

std::string DialogDriver::Text(Tab tab, int id) const {
    char text[1024] = {};
    GetWindowTextA(Control(tab, id), text, sizeof text);
    return text;
}

std::string DialogDriver::ListItems(Tab tab, int id) const {
    std::string joined;
    const int count = static_cast<int>(SendMessageA(Control(tab, id), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char item[1024] = {};
        SendMessageA(Control(tab, id), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        joined += (i > 0 ? "|" : "") + std::string(item);
    }
    return joined;
}

bool ChooseInFileDialog(HWND fileDialog, const std::string& names) {
    if (FileNameBox(fileDialog) == nullptr) {
        return false;
    }
    SendMessageA(FileNameBox(fileDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    PostMessageA(GetDlgItem(fileDialog, IDOK), BM_CLICK, 0, 0);
    return WaitUntil(DRIVER_LIMIT_MS, [fileDialog] { return !IsWindow(fileDialog); });
}

std::string FileDialogName(HWND fileDialog) {
    char name[1024] = {};
    GetWindowTextA(FileNameBox(fileDialog), name, sizeof name);
    return name;
}

std::string FileDialogFolder(HWND fileDialog) {
    char folder[MAX_PATH] = {};
    SendMessageA(fileDialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    return folder;
}

int TextOverrun(HWND control) {
    char text[64] = {};
    GetWindowTextA(control, text, sizeof text);
    ScopedClientDc dc(control);
    ScopedSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT drawn = {}, client = {};
    DrawTextA(dc.Get(), text, -1, &drawn, DT_CALCRECT | DT_SINGLELINE);
    GetClientRect(control, &client);
    return drawn.right - client.right;
}

std::string MessageBoxText(HWND box) {
    // A message box names its text 0xFFFF, on Windows and under Wine.
    char title[256] = {}, text[1024] = {};
    GetWindowTextA(box, title, sizeof title);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return std::string(title) + ": " + text;
}

COLORREF ColorDialogColor(HWND colorDialog) {
    return RGB(GetDlgItemInt(colorDialog, COLOR_RED, nullptr, FALSE),
               GetDlgItemInt(colorDialog, COLOR_GREEN, nullptr, FALSE),
               GetDlgItemInt(colorDialog, COLOR_BLUE, nullptr, FALSE));
}

void AnswerColorDialog(HWND colorDialog, COLORREF color, bool addCustom, int button) {
    SetDlgItemInt(colorDialog, COLOR_RED, GetRValue(color), FALSE);
    SetDlgItemInt(colorDialog, COLOR_GREEN, GetGValue(color), FALSE);
    SetDlgItemInt(colorDialog, COLOR_BLUE, GetBValue(color), FALSE);
    if (addCustom) {
        SendMessageA(colorDialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(colorDialog, COLOR_ADD)));
    }
    PostMessageA(colorDialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(colorDialog, button)));
    WaitUntil(DRIVER_LIMIT_MS, [colorDialog] { return !IsWindow(colorDialog); });
}
