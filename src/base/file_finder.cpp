#include "base/file_finder.h"

FileFinder::FileFinder() : directory_(), searchHandle_(INVALID_HANDLE_VALUE), findData_(), attributeFilter_(0) {}

FileFinder::~FileFinder() {
    Close();
}

bool FileFinder::Open(const char* pattern, DWORD filter) {
    Close();
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(pattern, sizeof directory_, directory_, &filePart);
    if (length == 0 || length >= sizeof directory_) {
        // Too long (the buffer then holds nothing useful) or no path at all.
        directory_[0] = '\0';
    } else if (filePart != nullptr) {
        *filePart = '\0';
    }
    attributeFilter_ = filter;
    searchHandle_ = FindFirstFileA(pattern, &findData_);
    if (searchHandle_ == INVALID_HANDLE_VALUE) {
        Close();
        return false;
    }
    return Passes() || SkipFiltered();
}

bool FileFinder::Advance() {
    if (searchHandle_ == INVALID_HANDLE_VALUE) {
        return false;
    }
    return SkipFiltered();
}

bool FileFinder::SkipFiltered() {
    do {
        if (!FindNextFileA(searchHandle_, &findData_)) {
            Close();
            return false;
        }
    } while (!Passes());
    return true;
}

bool FileFinder::Passes() const {
    return attributeFilter_ == 0 || (findData_.dwFileAttributes & attributeFilter_) != 0;
}

void FileFinder::Close() {
    if (searchHandle_ != INVALID_HANDLE_VALUE) {
        FindClose(searchHandle_);
        searchHandle_ = INVALID_HANDLE_VALUE;
    }
    directory_[0] = '\0';
    ZeroMemory(&findData_, sizeof findData_);
    attributeFilter_ = 0;
}

bool FileFinder::IsOpen() const {
    if (searchHandle_ == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

const char* FileFinder::Directory() const {
    IsOpen();
    return directory_;
}

const char* FileFinder::Name() const {
    IsOpen();
    return findData_.cFileName;
}

DWORD FileFinder::Attributes() const {
    IsOpen();
    return findData_.dwFileAttributes;
}

bool FileFinder::IsDirectory() const {
    return (Attributes() & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
