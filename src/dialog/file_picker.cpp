#include "dialog/file_picker.h"

#include "base/paths.h"
#include "base/process_heap.h"

namespace {

// The record as the 95/98 and NT 4 families know it: the members added later
// (pvReserved, dwReserved, FlagsEx) are left out.
const DWORD RECORD_SIZE = OPENFILENAME_SIZE_VERSION_400A;

// Zero bytes kept after the file buffer, so that reading its strings always
// stops inside the block whatever the dialog wrote.
constexpr int FILE_BUFFER_GUARD = 2;

// A buffer that has doubled this far is not grown again.
constexpr int FILE_BUFFER_SIZE_LIMIT = 0x4000000;

}  // namespace

FilePicker::FilePicker(HWND owner, DWORD flags, int bufferSize) : record_() {
    if (bufferSize >= PATH_BUFFER_SIZE) {
        fileBuffer_ = static_cast<char*>(HeapBlockAlloc(static_cast<size_t>(bufferSize) + FILE_BUFFER_GUARD));
        titleBuffer_ = static_cast<char*>(HeapBlockAlloc(static_cast<size_t>(bufferSize) + 1));
        if (fileBuffer_ == nullptr || titleBuffer_ == nullptr) {
            HeapBlockFree(fileBuffer_);
            HeapBlockFree(titleBuffer_);
            fileBuffer_ = nullptr;
            titleBuffer_ = nullptr;
        } else {
            bufferSize_ = bufferSize;
        }
    }
    record_.lStructSize = RECORD_SIZE;
    record_.hwndOwner = owner;
    record_.lpstrFile = fileBuffer_;
    record_.nMaxFile = static_cast<DWORD>(bufferSize_);
    record_.lpstrFileTitle = titleBuffer_;
    record_.nMaxFileTitle = static_cast<DWORD>(bufferSize_);
    record_.Flags = flags;
}

FilePicker::~FilePicker() {
    HeapBlockFree(fileBuffer_);
    HeapBlockFree(titleBuffer_);
    HeapBlockFree(filterCopy_);
}

void FilePicker::SetFilter(const char* list) {
    HeapBlockFree(filterCopy_);
    filterCopy_ = nullptr;
    record_.lpstrFilter = nullptr;
    if (list == nullptr) {
        return;
    }
    const char* end = list;
    while (*end != '\0') {
        end += lstrlenA(end) + 1;
    }
    const size_t size = static_cast<size_t>(end - list) + 1;
    filterCopy_ = static_cast<char*>(HeapBlockAlloc(size));
    if (filterCopy_ != nullptr) {
        CopyMemory(filterCopy_, list, size);
        record_.lpstrFilter = filterCopy_;
    }
}

void FilePicker::SetInitialFile(const char* path) {
    if (fileBuffer_ == nullptr) {
        return;
    }
    ZeroMemory(fileBuffer_, PATH_BUFFER_SIZE);
    if (path == nullptr) {
        return;
    }
    // A multiple selection ends with an empty string, hence the second zero.
    const int terminators = MultipleSelection() ? 2 : 1;
    const int length = lstrlenA(path);
    if (length + terminators <= bufferSize_) {
        CopyMemory(fileBuffer_, path, static_cast<size_t>(length));
        fileBuffer_[length] = '\0';
        if (terminators == 2) {
            fileBuffer_[length + 1] = '\0';
        }
    }
}

void FilePicker::SetInitialFolder(const char* folder) {
    const bool fits = folder != nullptr && lstrlenA(folder) <= MAX_PATH_CHARS;
    lstrcpynA(initialFolder_, fits ? folder : "", sizeof initialFolder_);
    record_.lpstrInitialDir = initialFolder_[0] != '\0' ? initialFolder_ : nullptr;
}

bool FilePicker::Run() {
    if (fileBuffer_ == nullptr) {
        return false;
    }
    while (GetOpenFileNameA(&record_) == FALSE) {
        // The platform refuses a selection too long for the buffer and writes
        // the size it needs into the buffer's first bytes, which must never be
        // taken for a file name. A multiple selection is offered again with a
        // buffer that fits; Wine cuts the list short instead and reports nothing.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return false;
        }
        if (!MultipleSelection() || !GrowFileBuffer()) {
            ZeroMemory(fileBuffer_, PATH_BUFFER_SIZE);
            return false;
        }
    }
    return true;
}

bool FilePicker::GrowFileBuffer() {
    // The needed size comes in the first two bytes, in bytes for this ANSI
    // dialog; a size beyond what they can hold shows only as doubling.
    const int needed = static_cast<unsigned char>(fileBuffer_[0]) | (static_cast<unsigned char>(fileBuffer_[1]) << 8);
    const int size = needed > bufferSize_ * 2 ? needed : bufferSize_ * 2;
    char* grown = size <= FILE_BUFFER_SIZE_LIMIT
                      ? static_cast<char*>(HeapBlockAlloc(static_cast<size_t>(size) + FILE_BUFFER_GUARD))
                      : nullptr;
    if (grown == nullptr) {
        return false;
    }
    HeapBlockFree(fileBuffer_);
    fileBuffer_ = grown;
    bufferSize_ = size;
    record_.lpstrFile = fileBuffer_;
    record_.nMaxFile = static_cast<DWORD>(bufferSize_);
    return true;
}

const char* FilePicker::FileName() const {
    return fileBuffer_ != nullptr ? fileBuffer_ : "";
}

const char* FilePicker::SecondString() const {
    return fileBuffer_ + lstrlenA(fileBuffer_) + 1;
}

int FilePicker::SelectedCount() const {
    if (fileBuffer_ == nullptr || fileBuffer_[0] == '\0') {
        return 0;
    }
    if (!MultipleSelection() || SecondString()[0] == '\0') {
        return 1;
    }
    int count = 0;
    for (const char* name = SecondString(); *name != '\0'; name += lstrlenA(name) + 1) {
        ++count;
    }
    return count;
}

const char* FilePicker::SelectedName(int index) const {
    if (fileBuffer_ == nullptr || fileBuffer_[0] == '\0') {
        return FileName();
    }
    if (MultipleSelection() && SecondString()[0] != '\0') {
        const char* name = SecondString();
        for (int i = 0; i < index; ++i) {
            const char* next = name + lstrlenA(name) + 1;
            if (*next == '\0') {
                break;
            }
            name = next;
        }
        return name;
    }
    return titleBuffer_;
}

const char* FilePicker::SelectedPath(int index) {
    result_[0] = '\0';
    if (fileBuffer_ == nullptr || fileBuffer_[0] == '\0' || lstrlenA(fileBuffer_) > MAX_PATH_CHARS) {
        return result_;
    }
    lstrcpyA(result_, fileBuffer_);
    if (!MultipleSelection() || SecondString()[0] == '\0') {
        return result_;
    }
    const char* name = SelectedName(index);
    // A name with a directory of its own stands as it is; the file title is
    // not asked, since it drops the extension when the user hides them.
    if (HasDirectoryPart(name)) {
        lstrcpynA(result_, lstrlenA(name) <= MAX_PATH_CHARS ? name : "", sizeof result_);
        return result_;
    }
    char folder[PATH_BUFFER_SIZE];
    if (!CopyWithTrailingBackslash(result_, folder) || !JoinPath(folder, name, result_)) {
        result_[0] = '\0';
    }
    return result_;
}
