// Enumerates the files and folders that match a wildcard pattern, in the
// order the platform's directory search returns them ("." and ".." included).
#pragma once

#include <windows.h>

#include "base/path_limits.h"

class FileFinder {
public:
    FileFinder();
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;
    virtual ~FileFinder();

    // Starts a search on pattern (closing any previous one). With a non-zero
    // filter, only items whose attributes share a bit with it are reported.
    // True when positioned on a first item; otherwise the finder is closed.
    bool Open(const char* pattern, DWORD filter);

    // Moves to the next item; false at the end, where the finder closes.
    bool Advance();

    // Ends the search; safe at any time.
    void Close();

    // Whether a search is in progress; ERROR_INVALID_HANDLE when not.
    bool IsOpen() const;

    // The accessors check IsOpen first, so reading a closed finder leaves
    // ERROR_INVALID_HANDLE; they then give the empty or zero stored values.
    // Full directory of the pattern, with a trailing backslash; empty when no
    // full path could be formed.
    const char* Directory() const;
    const char* Name() const;
    DWORD Attributes() const;
    bool IsDirectory() const;

private:
    // Fetches items until one passes the filter; false (closed) at the end.
    bool SkipFiltered();
    bool Passes() const;

    char directory_[PATH_BUFFER_SIZE];
    HANDLE searchHandle_;
    WIN32_FIND_DATAA findData_;
    DWORD attributeFilter_;
};
