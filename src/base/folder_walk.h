// Which files of a folder, and of its sub-folders, go into a media list, and
// in which order. The file system is reached through FolderSource, so that the
// rules hold on made-up trees as on disks.
#pragma once

#include <windows.h>

class MediaList;

// A folder's identity on its volume: the same for every path that reaches it.
struct FolderIdentity {
    ULONGLONG volume;
    ULONGLONG fileLow;  // the file id, of up to 128 bits
    ULONGLONG fileHigh;
};

struct FolderItem {
    const wchar_t* name;
    DWORD attributes;  // FILE_ATTRIBUTE_*
    DWORD reparseTag;  // of a reparse point (IO_REPARSE_TAG_*); 0 when not known
    // The item's file id where the listing gives it, else null. Its volume
    // is left 0: an item lies on the volume of the folder listed.
    const FolderIdentity* id;
};

class FolderVisitor {
public:
    // One item of a listing; false ends the listing.
    virtual bool Found(const FolderItem& item) = 0;

protected:
    ~FolderVisitor() = default;
};

class FolderSource {
public:
    // Hands visitor the items of folder (a full path with its trailing
    // backslash) whose names match the wildcard pattern, in the order the
    // directory search gives them. A folder that cannot be searched has none.
    virtual void List(const wchar_t* folder, const wchar_t* pattern, FolderVisitor& visitor) = 0;
    // False when the folder's identity cannot be had. Asked for the folder a
    // walk starts from, and for folders whose listing gave no id.
    virtual bool Identify(const wchar_t* folder, FolderIdentity& identity) = 0;

protected:
    ~FolderSource() = default;
};

// Deeper folders are never entered: a tree that deep is a loop the identities
// did not show, or no photo library.
constexpr int MAX_FOLDER_DEPTH = 32;

struct FolderRules {
    // Searched one after the other: all files of the first pattern come
    // before those of the next. Used when extensions is null.
    const wchar_t* const* patterns;
    int patternCount;
    // Instead of the patterns, one search for every file, taken when its
    // extension, in any letter case, is one of these (".bmp", ".jpg": in
    // lower case, each ending in a NUL, the last one followed by a second NUL).
    const wchar_t* extensions;
    // Sub-folders to any depth, after the folder's own files, in the order
    // the search gives them. Hidden, system and linked folders are not
    // entered (a sync service's placeholder folders are, unless their listing
    // is still in the cloud), nor a folder already entered by another path.
    bool subFolders;
    // Nonzero ends the walk early; may be null.
    volatile LONG* stop;
};

// Appends the files folder (a full path with its trailing backslash) gives
// under rules to files. With sub-folders or extensions, files kept only in
// the cloud (offline, recalled when opened or read) are left out, so that no
// download starts. Paths that would not fit in PATH_BUFFER_SIZE are skipped.
// False only when files cannot grow.
bool WalkFolder(const wchar_t* folder, const FolderRules& rules, FolderSource& source, MediaList& files);
