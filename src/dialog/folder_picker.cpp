#include "dialog/folder_picker.h"

int CALLBACK FolderPickerCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

bool FolderPicker::Browse(HWND owner, const char* title, const char* initialSelection, LPCITEMIDLIST root) {
    char displayName[PATH_BUFFER_SIZE] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (initialSelection != nullptr) {
        info.lpfn = FolderPickerCallback;
        info.lParam = reinterpret_cast<LPARAM>(initialSelection);
    }
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item == nullptr) {
        return false;
    }
    char chosen[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListA(item, chosen) != FALSE && chosen[0] != '\0';
    CoTaskMemFree(item);
    if (found) {
        lstrcpynA(path_, chosen, sizeof path_);
    }
    return found;
}
