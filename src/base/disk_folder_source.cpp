#include "base/disk_folder_source.h"

#include <cstring>

#include "base/path_limits.h"
#include "base/procedure_lookup.h"
#include "base/wide_path.h"

namespace {

// Windows 7's listing without short names, and its batched fetch; older
// headers lack both.
constexpr FINDEX_INFO_LEVELS FIND_INFO_BASIC = static_cast<FINDEX_INFO_LEVELS>(1);
constexpr DWORD FIND_LARGE_FETCH = 2;

// Windows 8's FileIdInfo class and FILE_ID_INFO, which the headers give only
// to programs that need Windows 8.
constexpr int FILE_ID_INFO_CLASS = 18;
struct FileIdInformation {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};

// The folder's path followed by pattern, in result (PATH_BUFFER_SIZE).
bool JoinSearch(const wchar_t* folder, const wchar_t* pattern, wchar_t* result) {
    const int length = lstrlenW(folder);
    if (length + lstrlenW(pattern) > MAX_PATH_CHARS) {
        return false;
    }
    lstrcpyW(result, folder);
    lstrcpyW(result + length, pattern);
    return true;
}

class ScopedFind {
public:
    explicit ScopedFind(HANDLE handle) : handle_(handle) {}
    ~ScopedFind() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            FindClose(handle_);
        }
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

DiskFolderSource::DiskFolderSource()
    : findFirst_(HasWideFileApi() ? LoadedProcedureOf<FindFirstFileExWFn>("kernel32.dll", "FindFirstFileExW")
                                  : nullptr),
      findNext_(LoadedProcedureOf<FindNextFileWFn>("kernel32.dll", "FindNextFileW")),
      idQuery_(LoadedProcedureOf<FileInformationQueryFn>("kernel32.dll", "GetFileInformationByHandleEx")) {}

void DiskFolderSource::List(const wchar_t* folder, const wchar_t* pattern, FolderVisitor& visitor) {
    wchar_t search[PATH_BUFFER_SIZE];
    if (!JoinSearch(folder, pattern, search)) {
        return;
    }
    if (findFirst_ != nullptr && findNext_ != nullptr) {
        ListWide(search, visitor);
    } else {
        ListAnsi(search, visitor);
    }
}

void DiskFolderSource::ListWide(const wchar_t* search, FolderVisitor& visitor) {
    WIN32_FIND_DATAW data;
    HANDLE first = INVALID_HANDLE_VALUE;
    if (basicListing_) {
        first = findFirst_(search, FIND_INFO_BASIC, &data, FindExSearchNameMatch, nullptr, FIND_LARGE_FETCH);
        if (first == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
            basicListing_ = false;
        }
    }
    if (!basicListing_) {
        first = findFirst_(search, FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
    }
    ScopedFind find(first);
    if (find.Get() == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!visitor.Found(FolderItem{data.cFileName, data.dwFileAttributes})) {
            return;
        }
    } while (findNext_(find.Get(), &data));
}

void DiskFolderSource::ListAnsi(const wchar_t* search, FolderVisitor& visitor) {
    char ansiSearch[PATH_BUFFER_SIZE];
    if (!WidePathToAnsi(search, ansiSearch)) {
        return;
    }
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(ansiSearch, &data));
    if (find.Get() == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        wchar_t name[PATH_BUFFER_SIZE];
        // The system puts a question mark for each character the code page
        // lacks; no trailing byte of a double-byte character is one.
        if (std::strchr(data.cFileName, '?') != nullptr || !AnsiToWidePath(data.cFileName, name)) {
            continue;
        }
        if (!visitor.Found(FolderItem{name, data.dwFileAttributes})) {
            return;
        }
    } while (FindNextFileA(find.Get(), &data));
}

bool DiskFolderSource::Identify(const wchar_t* folder, FolderIdentity& identity) {
    if (findFirst_ == nullptr) {
        return false;
    }
    // Backup semantics open a folder; no right to read its contents is asked.
    HANDLE handle = CreateFileW(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool known = false;
    // Windows 8's file id comes without the volume's label and file system
    // that the older query gathers too, which on some systems costs more
    // than the listing of the folder itself.
    FileIdInformation id;
    if (idQuery_ != nullptr && idQuery_(handle, FILE_ID_INFO_CLASS, &id, sizeof id)) {
        identity.volume = id.volumeSerialNumber;
        CopyMemory(&identity.fileLow, id.fileId, sizeof identity.fileLow);
        CopyMemory(&identity.fileHigh, id.fileId + sizeof identity.fileLow, sizeof identity.fileHigh);
        known = true;
    } else {
        BY_HANDLE_FILE_INFORMATION information;
        known = GetFileInformationByHandle(handle, &information) != 0;
        identity = FolderIdentity{information.dwVolumeSerialNumber,
                                  static_cast<ULONGLONG>(information.nFileIndexHigh) << 32 | information.nFileIndexLow,
                                  0};
    }
    CloseHandle(handle);
    return known;
}
