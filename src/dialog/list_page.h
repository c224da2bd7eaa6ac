// The pictures and music pages of the settings dialog: a list box of entries
// (files and folders) with add-folder, add-files and delete buttons, and
// check boxes: sub-folders and all picture formats on the pictures page,
// play-music, shuffle and sub-folders on the music page.
#pragma once

#include <windows.h>

#include "base/string_list.h"
#include "dialog/settings_page.h"

class FilePicker;
class FolderPicker;

// What makes one list page differ from the other.
struct ListPageKind {
    WORD templateId;
    int listId;
    UINT filterId;                       // string of the add-files dialog's filter list
    StringList SaverSettings::*entries;  // the list the page shows and rebuilds
    bool musicControls;                  // the music page's check boxes, play-music governing the rest
};

class ListPage : public SettingsPage {
public:
    explicit ListPage(const ListPageKind& kind) : SettingsPage(kind.templateId), kind_(kind) {}

    // The check boxes, then the entries in displayed order.
    bool Collect() override;

private:
    BOOL OnInit() override;
    BOOL OnCommand(int controlId, int code) override;
    BOOL OnDestroy() override;

    HWND List() const { return GetDlgItem(Window(), kind_.listId); }
    void AddChosenFiles();
    void AddChosenFolder();
    void DeleteSelectedEntries();
    void UpdateMusicControls();

    const ListPageKind& kind_;
    FilePicker* filePicker_ = nullptr;      // owned; null when it could not be made
    FolderPicker* folderPicker_ = nullptr;  // owned; null when it could not be made
};
