#include "settings/ini_copy.h"

#include <windows.h>

#include "base/path_limits.h"
#include "base/procedure_lookup.h"
#include "base/test_hooks.h"

namespace {

typedef BOOL(WINAPI* MoveFileExFn)(const char* from, const char* to, DWORD flags);
typedef BOOL(WINAPI* ReplaceFileFn)(const char* replaced, const char* replacement, const char* backup, DWORD flags,
                                    void* exclude, void* reserved);

// The same name with another three-letter extension for "ini", so it fits
// wherever the file does.
bool SiblingPath(const char* path, const char* extension, char* sibling) {
    const int length = lstrlenA(path);
    if (length < 4 || lstrcmpiA(path + length - 4, ".ini") != 0) {
        return false;
    }
    lstrcpyA(sibling, path);
    lstrcpyA(sibling + length - 3, extension);
    return true;
}

// Removes what an interrupted save may have left at path.
void RemoveLeftOver(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// Makes copyPath a copy of the settings file at path, so that the keys a save
// does not write (the hand-set Debug section, entries beyond the counts)
// stay as they were; with no file yet, the first write starts the copy empty.
// A read-only file, or a folder in its place, cannot be replaced: false.
bool StartCopy(const char* path, const char* copyPath) {
    // Whatever an interrupted save left behind is not written into.
    RemoveLeftOver(copyPath);
    if (GetFileAttributesA(copyPath) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    return CopyFileA(path, copyPath, TRUE) != FALSE;
}

// The copy's bytes on the disk before it takes the file's place: held in the
// system's cache, they could be lost with the power after the file that held
// the settings was gone.
bool FlushToDisk(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const BOOL flushed = FlushFileBuffers(file);
    CloseHandle(file);
    return flushed != FALSE;
}

// The 95/98 family has no MoveFileExA (only a stub that fails with
// ERROR_CALL_NOT_IMPLEMENTED), and MoveFileA does not replace. The file is
// renamed aside while the copy moves in, and put back when that fails: never
// is the copy, which no load reads, all that is left of the settings.
bool MoveOverAside(const char* copyPath, const char* path) {
    const IniMoveFileFn move = Hooks().iniMove != nullptr ? Hooks().iniMove : MoveFileA;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        return move(copyPath, path) != FALSE;
    }
    char asidePath[PATH_BUFFER_SIZE];
    if (!SiblingPath(path, "old", asidePath)) {
        return false;
    }
    RemoveLeftOver(asidePath);
    if (!move(path, asidePath)) {
        return false;
    }
    if (!move(copyPath, path)) {
        move(asidePath, path);
        return false;
    }
    DeleteFileA(asidePath);
    return true;
}

// Puts the finished copy in the place of the settings file.
bool MoveOver(const char* copyPath, const char* path) {
    if (Hooks().win9xIniSave) {
        return MoveOverAside(copyPath, path);
    }
    // ReplaceFileA (Windows 2000 on) keeps what the file carries besides its
    // bytes: its attributes, access list and creation time. It needs a file
    // to replace; where it fails, the move below either finishes the job or
    // fails with both files still there.
    const ReplaceFileFn replace = LoadedProcedureOf<ReplaceFileFn>("kernel32.dll", "ReplaceFileA");
    if (replace != nullptr && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
        replace(path, copyPath, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    const MoveFileExFn moveFileEx = LoadedProcedureOf<MoveFileExFn>("kernel32.dll", "MoveFileExA");
    if (moveFileEx != nullptr) {
        if (moveFileEx(copyPath, path, MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            return false;
        }
    }
    return MoveOverAside(copyPath, path);
}

}  // namespace

bool BeginIniCopy(const char* path, char* copyPath) {
    return SiblingPath(path, "new", copyPath) && StartCopy(path, copyPath);
}

bool FinishIniCopy(const char* copyPath, const char* path, bool allWritten) {
    // All three null flushes the profile cache of the 95/98 family, which
    // would otherwise write the copy out later, after it was moved.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyPath);
    const bool hadFile = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    if (allWritten && FlushToDisk(copyPath) && MoveOver(copyPath, path)) {
        return true;
    }
    if (!hadFile || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(copyPath);
    }
    return false;
}
