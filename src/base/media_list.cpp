#include "base/media_list.h"

#include <cstdlib>
#include <utility>

#include "base/wide_text.h"

namespace {

// rand() gives 0 .. RAND_MAX (32767) only: in a longer list the later
// positions could never be drawn.
constexpr int RAND_REACH = RAND_MAX + 1;

int WideRandom() {
    return (std::rand() << 15 | std::rand()) & 0x3FFFFFFF;
}

class ScopedLock {
public:
    explicit ScopedLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~ScopedLock() { LeaveCriticalSection(&lock_); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

}  // namespace

bool MediaList::Add(const wchar_t* path) {
    const int length = lstrlenW(path);
    if (length > MAX_PATH_CHARS) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    ScopedLock hold(lock_);
    return AddEntry(NO_FOLDER, path, length);
}

bool MediaList::Add(const char* path) {
    wchar_t wide[PATH_BUFFER_SIZE];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, PATH_BUFFER_SIZE) == 0) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return Add(wide);
}

int MediaList::AddFolder(const wchar_t* folder) {
    ScopedLock hold(lock_);
    const size_t folderCount = folders_.Count();
    const size_t textCount = text_.Count();
    if (!folders_.Append(static_cast<DWORD>(textCount)) ||
        !text_.Append(folder, static_cast<size_t>(lstrlenW(folder)) + 1)) {
        folders_.Truncate(folderCount);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    return static_cast<int>(folderCount);
}

bool MediaList::AddInFolder(int folder, const wchar_t* name) {
    const int length = lstrlenW(name);
    ScopedLock hold(lock_);
    if (lstrlenW(&text_[folders_[static_cast<size_t>(folder)]]) + length > MAX_PATH_CHARS) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return AddEntry(static_cast<DWORD>(folder), name, length);
}

// Called with the lock held.
bool MediaList::AddEntry(DWORD folder, const wchar_t* text, int length) {
    const size_t textCount = text_.Count();
    const Entry entry = {folder, static_cast<DWORD>(textCount)};
    const DWORD number = static_cast<DWORD>(entries_.Count());
    if (!text_.Append(text, static_cast<size_t>(length) + 1) || !entries_.Append(entry) || !order_.Append(number)) {
        text_.Truncate(textCount);
        entries_.Truncate(number);
        order_.Truncate(number);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

int MediaList::Count() const {
    ScopedLock hold(lock_);
    return static_cast<int>(entries_.Count());
}

void MediaList::BeginSearch() {
    ScopedLock hold(lock_);
    searching_ = true;
}

void MediaList::EndSearch() {
    ScopedLock hold(lock_);
    searching_ = false;
}

const wchar_t* MediaList::Next(bool shuffle, int* entry) {
    ScopedLock hold(lock_);
    const int count = static_cast<int>(entries_.Count());
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A pass that has handed out every entry starts over, unless a search
    // may still add one: then it waits for that.
    if (cursor_ >= count) {
        if (searching_) {
            SetLastError(ERROR_IO_PENDING);
            return nullptr;
        }
        cursor_ = 0;
    }
    if (cursor_ == 0) {
        passDrawnAsItGoes_ = searching_;
        if (shuffle && !passDrawnAsItGoes_) {
            Shuffle();
        }
    }
    if (shuffle && passDrawnAsItGoes_) {
        std::swap(order_[static_cast<size_t>(cursor_)], order_[static_cast<size_t>(cursor_ + Draw(count - cursor_))]);
    }
    const DWORD number = order_[static_cast<size_t>(cursor_)];
    ++cursor_;

    const Entry& chosen = entries_[number];
    // Every entry was checked to fit when it was added.
    const int folderLength =
        chosen.folder != NO_FOLDER ? CopyWide(current_, &text_[folders_[chosen.folder]], PATH_BUFFER_SIZE) : 0;
    CopyWide(current_ + folderLength, &text_[chosen.name], static_cast<size_t>(PATH_BUFFER_SIZE - folderLength));
    if (entry != nullptr) {
        *entry = static_cast<int>(number);
    }
    return current_;
}

int MediaList::Draw(int range) const {
    return (entries_.Count() > static_cast<size_t>(RAND_REACH) ? WideRandom() : std::rand()) % range;
}

void MediaList::Shuffle() {
    const int count = static_cast<int>(order_.Count());
    for (int i = 0; i < count; ++i) {
        const int j = Draw(count);
        if (j != i) {
            std::swap(order_[static_cast<size_t>(i)], order_[static_cast<size_t>(j)]);
        }
    }
}
