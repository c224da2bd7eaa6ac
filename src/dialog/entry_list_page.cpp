#include "dialog/entry_list_page.h"

#include <new>

#include "base/paths.h"
#include "dialog/dialog_shared.h"
#include "dialog/file_picker.h"
#include "dialog/folder_picker.h"
#include "dialog/list_entries.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

// Both list pages give their buttons the same ids.
constexpr int ADD_FOLDER_BUTTON = IDC_PICTURES_BUTTON_ADD_FOLDER;
constexpr int ADD_BUTTON = IDC_PICTURES_BUTTON_ADD;
constexpr int DELETE_BUTTON = IDC_PICTURES_BUTTON_DELETE;
static_assert(ADD_FOLDER_BUTTON == IDC_MUSIC_BUTTON_ADD_FOLDER && ADD_BUTTON == IDC_MUSIC_BUTTON_ADD &&
                  DELETE_BUTTON == IDC_MUSIC_BUTTON_DELETE,
              "the list pages share their button handling");

constexpr DWORD FILE_PICKER_FLAGS = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
// Room for about 1,700 names of 38 characters (a camera's date, time and
// sequence) chosen at once, more of shorter ones. Windows asks for more room
// when a choice does not fit; Wine silently keeps only the names that do.
constexpr int FILE_PICKER_BUFFER_SIZE = 65536;
constexpr int FOLDER_TITLE_SIZE = 64;

// An entry that cannot be listed whole (over-long, or the list box refuses
// it) is left out; the user hears the warning sound instead of getting a
// shortened entry that names some other file.
bool AppendEntry(HWND list, const char* entry) {
    if (entry[0] == '\0') {
        return false;
    }
    const LRESULT added = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    return added != LB_ERR && added != LB_ERRSPACE;
}

void WarnEntriesLeftOut() {
    MessageBeep(MB_ICONWARNING);
}

// The next add-files dialog opens in the folder of the first file chosen this
// time, with an empty file name.
void RememberFolderOf(FilePicker& picker, const char* path) {
    char folder[PATH_BUFFER_SIZE];
    lstrcpynA(folder, path, sizeof folder);
    folder[FileNamePart(folder) - folder] = '\0';
    if (folder[0] != '\0') {
        picker.SetInitialFolder(folder);
    }
}

void AddChosenFiles(EntryListPage& state, HWND page) {
    if (state.filePicker == nullptr) {
        return;
    }
    FilePicker& picker = *state.filePicker;
    picker.SetInitialFile(nullptr);
    if (!picker.Run()) {
        // Without the memory for a buffer large enough the choice is lost.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            WarnEntriesLeftOut();
        }
        return;
    }
    HWND list = GetDlgItem(page, state.listId);
    bool leftOut = false;
    for (int i = 0; i < picker.SelectedCount(); ++i) {
        char entry[PATH_BUFFER_SIZE];
        const char* path = picker.SelectedPath(i);
        entry[0] = '\0';
        if (path[0] != '\0') {
            ListEntryForFile(path, state.settings->moduleDir, entry);
        }
        if (!AppendEntry(list, entry)) {
            leftOut = true;
        }
    }
    RememberFolderOf(picker, picker.SelectedPath(0));
    if (leftOut) {
        WarnEntriesLeftOut();
    }
}

void AddChosenFolder(EntryListPage& state, HWND page) {
    if (state.folderPicker == nullptr) {
        return;
    }
    FolderPicker& picker = *state.folderPicker;
    char title[FOLDER_TITLE_SIZE] = {};
    LoadStringA(DialogModule(), IDS_SELECT_FOLDER, title, sizeof title);
    // The browser opens on the folder chosen last on this page; nothing is
    // preselected the first time.
    const char* previous = picker.Path()[0] != '\0' ? picker.Path() : nullptr;
    if (!picker.Browse(page, title, previous, nullptr)) {
        return;
    }
    char entry[PATH_BUFFER_SIZE];
    if (!CopyWithTrailingBackslash(picker.Path(), entry) || !AppendEntry(GetDlgItem(page, state.listId), entry)) {
        WarnEntriesLeftOut();
    }
}

void DeleteSelectedEntries(HWND page, int listId) {
    HWND list = GetDlgItem(page, listId);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = count - 1; i >= 0; --i) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
        }
    }
}

}  // namespace

void OpenEntryListPage(EntryListPage& state, HWND page, SaverSettings* settings, const StringList& entries,
                       int listId, UINT filterId) {
    state.settings = settings;
    state.listId = listId;
    state.filePicker = new (std::nothrow) FilePicker(page, FILE_PICKER_FLAGS, FILE_PICKER_BUFFER_SIZE);
    char filter[FILTER_BUFFER_SIZE];
    LoadFilterList(filterId, filter);
    if (state.filePicker != nullptr) {
        state.filePicker->SetFilter(filter);
    }
    state.folderPicker = new (std::nothrow) FolderPicker;
    HWND list = GetDlgItem(page, listId);
    for (int i = 0; i < entries.Count(); ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries.Get(i)));
    }
}

void HandleEntryListButton(EntryListPage& state, HWND page, int controlId) {
    switch (controlId) {
        case ADD_BUTTON:
            AddChosenFiles(state, page);
            break;
        case ADD_FOLDER_BUTTON:
            AddChosenFolder(state, page);
            break;
        case DELETE_BUTTON:
            DeleteSelectedEntries(page, state.listId);
            break;
        default:
            break;
    }
}

void CloseEntryListPage(EntryListPage& state, HWND page) {
    SendDlgItemMessageA(page, state.listId, LB_RESETCONTENT, 0, 0);
    delete state.filePicker;
    delete state.folderPicker;
    state = EntryListPage();
}
