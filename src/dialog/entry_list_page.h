// What the pictures and music pages have in common: a list box of entries
// (files and folders) with add-folder, add-files and delete buttons.
#pragma once

#include <windows.h>

#include "base/string_list.h"

class FilePicker;
class FolderPicker;
class SaverSettings;

// The state of one list page, from its WM_INITDIALOG to its WM_DESTROY.
struct EntryListPage {
    SaverSettings* settings = nullptr;  // the frame's record, not owned
    FilePicker* filePicker = nullptr;   // owned; null when it could not be made
    FolderPicker* folderPicker = nullptr;  // owned; null when it could not be made
    int listId = 0;
};

// Makes the pickers (the file picker with the filter of string filterId) and
// fills the list box listId with entries.
void OpenEntryListPage(EntryListPage& state, HWND page, SaverSettings* settings, const StringList& entries,
                       int listId, UINT filterId);

// The three buttons, shared by both pages; other ids are ignored.
void HandleEntryListButton(EntryListPage& state, HWND page, int controlId);

// Empties the list box and deletes the pickers.
void CloseEntryListPage(EntryListPage& state, HWND page);
