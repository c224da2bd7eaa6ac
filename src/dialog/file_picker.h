// The open-file common dialog with buffers of its own, and the parsing of an
// Explorer-style multiple selection (the directory, then one name per string).
#pragma once

#include <windows.h>

#include "base/path_limits.h"

class FilePicker {
public:
    // The two text buffers are made only when bufferSize is at least
    // PATH_BUFFER_SIZE; without them Run returns false.
    FilePicker(HWND owner, DWORD flags, int bufferSize);
    FilePicker(const FilePicker&) = delete;
    FilePicker& operator=(const FilePicker&) = delete;
    virtual ~FilePicker();

    // list: NUL-terminated description and pattern strings ended by an empty
    // string. Copied; null removes the filter.
    void SetFilter(const char* list);

    // The file the next dialog starts on. A path that does not fit leaves
    // no initial file; null clears it.
    void SetInitialFile(const char* path);

    // The folder the next dialog opens in while no initial file names one;
    // null, empty or over-long leaves it to the system.
    void SetInitialFolder(const char* folder);

    // Shows the dialog; true when the user chose something. A multiple
    // selection too long for the buffer grows the buffer and shows the
    // dialog again, so the user can choose once more.
    bool Run();

    // The first string of the file buffer: after a single selection, the
    // chosen file's full path.
    const char* FileName() const;

    int SelectedCount() const;

    // The name of chosen file index (an index past the last gives the last).
    const char* SelectedName(int index) const;

    // The full path of chosen file index. Empty when that path would not fit
    // in MAX_PATH_CHARS characters: it is refused, never cut short. The text
    // lives until the next call.
    const char* SelectedPath(int index);

private:
    bool MultipleSelection() const { return (record_.Flags & OFN_ALLOWMULTISELECT) != 0; }
    // The string after the first one of the file buffer (empty after a single selection).
    const char* SecondString() const;
    // After the platform found the buffer too small: a larger, empty one.
    // False, with the old one kept, when the heap refuses.
    bool GrowFileBuffer();

    char* fileBuffer_ = nullptr;   // bufferSize_ bytes plus two zero guard bytes
    char* titleBuffer_ = nullptr;  // the size first given plus a zero guard byte
    char* filterCopy_ = nullptr;
    int bufferSize_ = 0;           // of the file buffer, which may grow
    OPENFILENAMEA record_;
    char initialFolder_[PATH_BUFFER_SIZE] = {};
    char result_[PATH_BUFFER_SIZE] = {};
};
