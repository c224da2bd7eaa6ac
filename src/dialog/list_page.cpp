#include "dialog/list_page.h"

#include <initializer_list>
#include <new>

#include "base/paths.h"
#include "base/process_heap.h"
#include "base/program_facts.h"
#include "dialog/control_binding.h"
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

// The check boxes of each page, in the order they are saved. The music
// page's first governs the rest of that page.
constexpr ControlBinding PICTURE_SWITCHES[] = {
    {IDC_PICTURES_CHECK_SUB_FOLDERS, ControlValue::CHECK_STATE, &SaverSettings::pictureSubFolders},
    {IDC_PICTURES_CHECK_ALL_FORMATS, ControlValue::CHECK_STATE, &SaverSettings::allFormats},
};
constexpr ControlBinding MUSIC_SWITCHES[] = {
    {IDC_MUSIC_CHECK_PLAY, ControlValue::CHECK_STATE, &SaverSettings::playMusic},
    {IDC_MUSIC_CHECK_SHUFFLE, ControlValue::CHECK_STATE, &SaverSettings::musicShuffle},
    {IDC_MUSIC_CHECK_SUB_FOLDERS, ControlValue::CHECK_STATE, &SaverSettings::musicSubFolders},
};

struct Switches {
    const ControlBinding* bindings;
    int count;
};

template <int N>
constexpr Switches SwitchesOf(const ControlBinding (&bindings)[N]) {
    return {bindings, N};
}

Switches SwitchesOfPage(const ListPageKind& kind) {
    return kind.musicControls ? SwitchesOf(MUSIC_SWITCHES) : SwitchesOf(PICTURE_SWITCHES);
}

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

// Reads item index of a list box into entry (PATH_BUFFER_SIZE bytes). False
// when the item is longer than an entry may be: the page never adds one, so
// it is not cut short here either.
bool ReadListItem(HWND list, int index, char* entry) {
    // The reported length is only an upper bound: with double-byte text it may
    // exceed what LB_GETTEXT then gives. The text is read into a block of the
    // reported size, and its own length decides.
    const LRESULT reported = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (reported < 0) {
        return false;
    }
    char* text = static_cast<char*>(HeapBlockAlloc(static_cast<size_t>(reported) + 1));
    ScopedHeapBlock owner(text);
    if (text == nullptr) {
        return false;
    }
    const LRESULT length = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    const bool fits = length >= 0 && length <= MAX_PATH_CHARS;
    if (fits) {
        lstrcpynA(entry, text, PATH_BUFFER_SIZE);
    }
    return fits;
}

}  // namespace

bool ListPage::Collect() {
    const Switches switches = SwitchesOfPage(kind_);
    CopyBoundControls(Window(), switches.bindings, switches.count, Settings());
    StringList& entries = Settings().*kind_.entries;
    entries.Clear();
    HWND list = List();
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char entry[PATH_BUFFER_SIZE] = {};
        if (!ReadListItem(list, i, entry) || !entries.Add(entry)) {
            return false;
        }
    }
    return true;
}

BOOL ListPage::OnInit() {
    filePicker_ = new (std::nothrow) FilePicker(Window(), FILE_PICKER_FLAGS, FILE_PICKER_BUFFER_SIZE);
    char filter[FILTER_BUFFER_SIZE];
    LoadFilterList(kind_.filterId, filter);
    if (filePicker_ != nullptr) {
        filePicker_->SetFilter(filter);
    }
    folderPicker_ = new (std::nothrow) FolderPicker;
    const StringList& entries = Settings().*kind_.entries;
    HWND list = List();
    for (int i = 0; i < entries.Count(); ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries.Get(i)));
    }
    const Switches switches = SwitchesOfPage(kind_);
    CheckBoundControls(Window(), switches.bindings, switches.count, Settings());
    if (kind_.musicControls) {
        SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_MUSIC_CHECK_PLAY, BN_CLICKED), 0);
    }
    return TRUE;
}

BOOL ListPage::OnCommand(int controlId, int) {
    switch (controlId) {
        case ADD_BUTTON:
            AddChosenFiles();
            break;
        case ADD_FOLDER_BUTTON:
            AddChosenFolder();
            break;
        case DELETE_BUTTON:
            DeleteSelectedEntries();
            break;
        case IDC_MUSIC_CHECK_PLAY:
            if (kind_.musicControls) {
                UpdateMusicControls();
            }
            break;
        default:
            break;
    }
    return TRUE;
}

BOOL ListPage::OnDestroy() {
    SendMessageA(List(), LB_RESETCONTENT, 0, 0);
    delete filePicker_;
    filePicker_ = nullptr;
    delete folderPicker_;
    folderPicker_ = nullptr;
    return TRUE;
}

void ListPage::AddChosenFiles() {
    if (filePicker_ == nullptr) {
        return;
    }
    FilePicker& picker = *filePicker_;
    picker.SetInitialFile(nullptr);
    if (!picker.Run()) {
        // Without the memory for a buffer large enough the choice is lost.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            WarnEntriesLeftOut();
        }
        return;
    }
    HWND list = List();
    bool leftOut = false;
    for (int i = 0; i < picker.SelectedCount(); ++i) {
        char entry[PATH_BUFFER_SIZE];
        const char* path = picker.SelectedPath(i);
        entry[0] = '\0';
        if (path[0] != '\0') {
            ListEntryForFile(path, Settings().moduleDir, entry);
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

void ListPage::AddChosenFolder() {
    if (folderPicker_ == nullptr) {
        return;
    }
    FolderPicker& picker = *folderPicker_;
    char title[FOLDER_TITLE_SIZE] = {};
    LoadStringA(ProgramModule(), IDS_SELECT_FOLDER, title, sizeof title);
    // The browser opens on the folder chosen last on this page; nothing is
    // preselected the first time.
    const char* previous = picker.Path()[0] != '\0' ? picker.Path() : nullptr;
    if (!picker.Browse(Window(), title, previous, nullptr)) {
        return;
    }
    char entry[PATH_BUFFER_SIZE];
    if (!CopyWithTrailingBackslash(picker.Path(), entry) || !AppendEntry(List(), entry)) {
        WarnEntriesLeftOut();
    }
}

void ListPage::DeleteSelectedEntries() {
    HWND list = List();
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = count - 1; i >= 0; --i) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
        }
    }
}

// Everything but the play-music check box follows its state. Disabled
// controls keep their values: they are still collected.
void ListPage::UpdateMusicControls() {
    const BOOL on = IsDlgButtonChecked(Window(), IDC_MUSIC_CHECK_PLAY) == BST_CHECKED;
    for (int id : {IDC_MUSIC_CHECK_SHUFFLE, IDC_MUSIC_CHECK_SUB_FOLDERS, kind_.listId, ADD_BUTTON, ADD_FOLDER_BUTTON, DELETE_BUTTON}) {
        EnableWindow(GetDlgItem(Window(), id), on);
    }
}
