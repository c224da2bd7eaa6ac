// A list of file paths handed out one at a time, in the order added or
// shuffled afresh at the start of every pass. A search on another thread may
// still be adding to it while it is handed out.
#pragma once

#include <windows.h>

#include "base/heap_array.h"
#include "base/path_limits.h"

class MediaList {
public:
    MediaList() { InitializeCriticalSection(&lock_); }
    ~MediaList() { DeleteCriticalSection(&lock_); }
    MediaList(const MediaList&) = delete;
    MediaList& operator=(const MediaList&) = delete;

    // Appends path as it stands (a bare name stays bare). The ANSI form is
    // read in the system's code page. False (ERROR_NOT_ENOUGH_MEMORY, or
    // ERROR_FILENAME_EXCED_RANGE for a path of more than MAX_PATH_CHARS) leaves
    // the list unchanged.
    bool Add(const wchar_t* path);
    bool Add(const char* path);

    // Files found in a folder are kept as the folder, once, and their names:
    // a library of many files in few folders takes little room. AddFolder
    // takes the folder's full path with its trailing backslash and gives its
    // number, or -1 when the list cannot grow; AddInFolder appends a file of
    // it, false when the list cannot grow or the whole path would not fit.
    int AddFolder(const wchar_t* folder);
    bool AddInFolder(int folder, const wchar_t* name);

    int Count() const;

    // While a search adds files, a pass hands out those found so far: in
    // shuffled order each is drawn at random from those not yet handed out
    // in this pass, and the pass ends only once the search has ended and all
    // have been handed out.
    void BeginSearch();
    void EndSearch();

    // The next path, valid until the next call. A pass that starts with
    // shuffle set on a list no search adds to first reorders the list: every
    // position is swapped with a random one of the whole list, starting from
    // the order the previous pass left. entry, when given, receives the
    // entry's number in the list. Null with ERROR_INVALID_PARAMETER for an
    // empty list, or with ERROR_IO_PENDING when a search has yet to find the
    // next file of the pass.
    const wchar_t* Next(bool shuffle, int* entry = nullptr);

private:
    struct Entry {
        DWORD folder;  // NO_FOLDER for a path kept as it stands
        DWORD name;    // offset of its text
    };
    static constexpr DWORD NO_FOLDER = 0xFFFFFFFF;

    bool AddEntry(DWORD folder, const wchar_t* text, int length);
    int Draw(int range) const;
    void Shuffle();

    mutable CRITICAL_SECTION lock_;
    HeapArray<wchar_t> text_;  // folders and names, each ending in a NUL
    HeapArray<DWORD> folders_;  // offsets of the folders' text
    HeapArray<Entry> entries_;
    HeapArray<DWORD> order_;    // entry numbers; shuffling permutes these
    int cursor_ = 0;
    bool searching_ = false;
    bool passDrawnAsItGoes_ = false;  // the pass began while a search ran
    wchar_t current_[PATH_BUFFER_SIZE] = {};
};
