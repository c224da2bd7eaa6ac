#include "base/disk_folder_source.h"

#include <cstring>

#include "base/gdi_guards.h"
#include "base/path_limits.h"
#include "base/process_heap.h"
#include "base/procedure_lookup.h"
#include "base/wide_path.h"
#include "base/wide_text.h"

namespace {

// Windows 7's listing without short names, and its batched fetch; older
// headers lack both.
constexpr FINDEX_INFO_LEVELS FIND_INFO_BASIC = static_cast<FINDEX_INFO_LEVELS>(1);
constexpr DWORD FIND_LARGE_FETCH = 2;

// Windows 8's FileIdInfo class and FILE_ID_INFO, and Vista's listing of a
// folder's items with their file ids (FileIdBothDirectoryInfo and its
// restart, FILE_ID_BOTH_DIR_INFO), which the headers give only to programs
// that need those systems.
constexpr int FILE_ID_INFO_CLASS = 18;
constexpr int ID_BOTH_DIRECTORY_INFO_CLASS = 10;
constexpr int ID_BOTH_DIRECTORY_RESTART_INFO_CLASS = 11;
struct FileIdInformation {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
struct IdBothDirectoryInformation {
    DWORD nextEntryOffset;
    DWORD fileIndex;
    LARGE_INTEGER times[4];
    LARGE_INTEGER endOfFile;
    LARGE_INTEGER allocationSize;
    DWORD fileAttributes;
    DWORD fileNameLength;  // in bytes, without a terminator
    DWORD eaSize;  // a reparse point's tag
    CCHAR shortNameLength;
    WCHAR shortName[12];
    LARGE_INTEGER fileId;
    WCHAR fileName[1];
};
constexpr DWORD LISTING_BYTES = 64 * 1024;

// The folder's path followed by pattern, in result (PATH_BUFFER_SIZE).
bool JoinSearch(const wchar_t* folder, const wchar_t* pattern, wchar_t* result) {
    const int length = lstrlenW(folder);
    if (length + lstrlenW(pattern) > MAX_PATH_CHARS) {
        return false;
    }
    CopyWide(result, folder, PATH_BUFFER_SIZE);
    CopyWide(result + length, pattern, static_cast<size_t>(PATH_BUFFER_SIZE - length));
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

DiskFolderSource::~DiskFolderSource() {
    HeapBlockFree(listing_);
}

void DiskFolderSource::List(const wchar_t* folder, const wchar_t* pattern, FolderVisitor& visitor) {
    wchar_t search[PATH_BUFFER_SIZE];
    if (!JoinSearch(folder, pattern, search) ||
        (SameWide(pattern, L"*") && findFirst_ != nullptr && ListWithIds(folder, visitor))) {
        return;
    }
    if (findFirst_ != nullptr && findNext_ != nullptr) {
        ListWide(search, visitor);
    } else {
        ListAnsi(search, visitor);
    }
}

bool DiskFolderSource::ListWithIds(const wchar_t* folder, FolderVisitor& visitor) {
    if (idQuery_ == nullptr) {
        return false;
    }
    if (listing_ == nullptr) {
        listing_ = static_cast<BYTE*>(HeapBlockAlloc(LISTING_BYTES));
        if (listing_ == nullptr) {
            return false;
        }
    }
    ScopedFile handle(CreateFileW(folder, FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.Get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    // A file system that cannot list this way (a network share) fails the
    // first batch: the directory search takes over.
    int informationClass = ID_BOTH_DIRECTORY_RESTART_INFO_CLASS;
    if (!idQuery_(handle.Get(), informationClass, listing_, LISTING_BYTES)) {
        return GetLastError() == ERROR_NO_MORE_FILES;
    }
    do {
        for (DWORD offset = 0;;) {
            const auto* entry = reinterpret_cast<const IdBothDirectoryInformation*>(listing_ + offset);
            const DWORD length = entry->fileNameLength / sizeof(wchar_t);
            if (length <= MAX_PATH_CHARS) {
                wchar_t name[PATH_BUFFER_SIZE];
                CopyMemory(name, entry->fileName, length * sizeof(wchar_t));
                name[length] = L'\0';
                // Some file systems give no id of 64 bits: 0 or all ones.
                const ULONGLONG id = static_cast<ULONGLONG>(entry->fileId.QuadPart);
                const FolderIdentity identity = {0, id, 0};
                const bool hasId = id != 0 && id != ~0ull;
                if (!visitor.Found(FolderItem{name, entry->fileAttributes, entry->eaSize, hasId ? &identity : nullptr})) {
                    return true;
                }
            }
            if (entry->nextEntryOffset == 0) {
                break;
            }
            offset += entry->nextEntryOffset;
        }
        informationClass = ID_BOTH_DIRECTORY_INFO_CLASS;
    } while (idQuery_(handle.Get(), informationClass, listing_, LISTING_BYTES));
    return true;
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
        if (!visitor.Found(FolderItem{data.cFileName, data.dwFileAttributes, data.dwReserved0, nullptr})) {
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
        if (!visitor.Found(FolderItem{name, data.dwFileAttributes, 0, nullptr})) {
            return;
        }
    } while (FindNextFileA(find.Get(), &data));
}

bool DiskFolderSource::Identify(const wchar_t* folder, FolderIdentity& identity) {
    if (findFirst_ == nullptr) {
        return false;
    }
    // Backup semantics open a folder; no right to read its contents is asked.
    ScopedFile handle(CreateFileW(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.IsOpen()) {
        return false;
    }
    bool known = false;
    // Windows 8's file id comes without the volume's label and file system
    // that the older query gathers too, which on some systems costs more
    // than the listing of the folder itself.
    FileIdInformation id;
    if (idQuery_ != nullptr && idQuery_(handle.Get(), FILE_ID_INFO_CLASS, &id, sizeof id)) {
        identity.volume = id.volumeSerialNumber;
        CopyMemory(&identity.fileLow, id.fileId, sizeof identity.fileLow);
        CopyMemory(&identity.fileHigh, id.fileId + sizeof identity.fileLow, sizeof identity.fileHigh);
        known = true;
    } else {
        BY_HANDLE_FILE_INFORMATION information;
        known = GetFileInformationByHandle(handle.Get(), &information) != 0;
        identity = FolderIdentity{information.dwVolumeSerialNumber,
                                  static_cast<ULONGLONG>(information.nFileIndexHigh) << 32 | information.nFileIndexLow,
                                  0};
    }
    return known;
}
