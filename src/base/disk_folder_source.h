// The folders of the disks, as the folder walk lists them.
#pragma once

#include "base/folder_walk.h"

class DiskFolderSource : public FolderSource {
public:
    DiskFolderSource();

    // Through the wide directory search where the system has it, so that
    // every name comes whole; the one-time query of a fuller listing is
    // skipped and the system fetches the folder in larger batches where it
    // can. A listing of every item reads the folder's own handle where the
    // system can, which gives each item's file id at no cost. On the 95/98
    // family through the ANSI search, where a name the code page cannot hold
    // comes with question marks and cannot be opened: it is left out.
    void List(const wchar_t* folder, const wchar_t* pattern, FolderVisitor& visitor) override;

    // The volume serial number and file index of the folder; not to be had on
    // the 95/98 family.
    bool Identify(const wchar_t* folder, FolderIdentity& identity) override;

    ~DiskFolderSource();
    DiskFolderSource(const DiskFolderSource&) = delete;
    DiskFolderSource& operator=(const DiskFolderSource&) = delete;

private:
    // False when the folder's handle cannot be listed and nothing was handed on.
    bool ListWithIds(const wchar_t* folder, FolderVisitor& visitor);
    void ListWide(const wchar_t* search, FolderVisitor& visitor);
    void ListAnsi(const wchar_t* search, FolderVisitor& visitor);

    using FindFirstFileExWFn = HANDLE(WINAPI*)(const wchar_t*, FINDEX_INFO_LEVELS, void*, FINDEX_SEARCH_OPS, void*,
                                               DWORD);
    using FindNextFileWFn = BOOL(WINAPI*)(HANDLE, WIN32_FIND_DATAW*);
    FindFirstFileExWFn findFirst_;  // null on systems without the wide search
    FindNextFileWFn findNext_;
    using FileInformationQueryFn = BOOL(WINAPI*)(HANDLE, int informationClass, void*, DWORD);
    FileInformationQueryFn idQuery_;  // GetFileInformationByHandleEx; null before Vista
    BYTE* listing_ = nullptr;         // a batch of a folder's items with their ids
    bool basicListing_ = true;  // refused before Windows 7: then the standard one
};
