#include "base/folder_walk.h"

#include "base/heap_array.h"
#include "base/media_list.h"
#include "base/path_limits.h"
#include "base/wide_text.h"

namespace {

// Attributes of a file or folder that is a placeholder for one kept in the
// cloud: older headers lack the two recall flags. A folder marked recalled on
// open has its listing in the cloud.
constexpr DWORD ATTRIBUTE_RECALL_ON_OPEN = 0x00040000;
constexpr DWORD ATTRIBUTE_RECALL_ON_DATA_ACCESS = 0x00400000;
constexpr DWORD NOT_ON_THIS_PC = FILE_ATTRIBUTE_OFFLINE | ATTRIBUTE_RECALL_ON_OPEN | ATTRIBUTE_RECALL_ON_DATA_ACCESS;

// Recycle bins, system volume information, hidden thumbnail caches.
constexpr DWORD NOT_ENTERED = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The bit of a reparse tag that makes the point stand for another name:
// junctions, mount points and symbolic links, which may lead anywhere, back
// up the tree included. A sync service's folders are reparse points without
// it, and are entered.
constexpr DWORD REPARSE_TAG_NAME_SURROGATE = 0x20000000;

bool IsLink(const FolderItem& item) {
    return (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (item.reparseTag == 0 || (item.reparseTag & REPARSE_TAG_NAME_SURROGATE) != 0);
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Whether name ends in one of extensions, in any letter case; run for every
// file of a library, so no call is made per extension.
bool HasListedExtension(const wchar_t* name, const wchar_t* extensions) {
    const wchar_t* dot = nullptr;
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (*c == L'.') {
            dot = c;
        }
    }
    if (dot == nullptr) {
        return false;
    }
    for (const wchar_t* e = extensions; *e != L'\0';) {
        const wchar_t* d = dot;
        while (*e != L'\0' && FoldAscii(*d) == *e) {
            ++d;
            ++e;
        }
        if (*e == L'\0' && *d == L'\0') {
            return true;
        }
        while (*e++ != L'\0') {
        }
    }
    return false;
}

// The identities of the folders entered, in an open-addressed table that
// doubles as it fills.
class VisitedFolders {
public:
    ~VisitedFolders() { HeapBlockFree(slots_); }

    // False when identity was noted before. Without memory for the table
    // every folder counts as new: the depth limit still ends a loop.
    bool Note(const FolderIdentity& identity) {
        if ((count_ + 1) * 2 > room_ && !Grow()) {
            return true;
        }
        Slot* slot = Find(identity);
        if (slot->used) {
            return false;
        }
        slot->used = true;
        slot->identity = identity;
        ++count_;
        return true;
    }

private:
    struct Slot {
        bool used;
        FolderIdentity identity;
    };

    Slot* Find(const FolderIdentity& id) {
        const ULONGLONG mixed = (id.fileLow ^ id.fileHigh ^ id.volume) * 0x9E3779B97F4A7C15ull;
        DWORD at = static_cast<DWORD>(mixed >> 32) & (room_ - 1);
        while (slots_[at].used && !(slots_[at].identity.volume == id.volume &&
                                    slots_[at].identity.fileLow == id.fileLow &&
                                    slots_[at].identity.fileHigh == id.fileHigh)) {
            at = (at + 1) & (room_ - 1);
        }
        return &slots_[at];
    }

    bool Grow() {
        const DWORD room = room_ == 0 ? 64 : room_ * 2;
        Slot* slots = static_cast<Slot*>(HeapBlockAlloc(room * sizeof(Slot)));
        if (slots == nullptr) {
            return false;
        }
        Slot* old = slots_;
        const DWORD oldRoom = room_;
        slots_ = slots;
        room_ = room;
        for (DWORD i = 0; i < oldRoom; ++i) {
            if (old[i].used) {
                *Find(old[i].identity) = old[i];
            }
        }
        HeapBlockFree(old);
        return true;
    }

    Slot* slots_ = nullptr;
    DWORD room_ = 0;
    DWORD count_ = 0;
};

class TreeWalk : public FolderVisitor {
public:
    TreeWalk(const FolderRules& rules, FolderSource& source, MediaList& files)
        : rules_(rules), source_(source), files_(files), cloudKept_(rules.subFolders || rules.extensions != nullptr) {}

    bool Walk(const wchar_t* folder) {
        length_ = lstrlenW(folder);
        if (length_ > MAX_PATH_CHARS) {
            return true;
        }
        CopyWide(path_, folder, PATH_BUFFER_SIZE);
        Enter(0, nullptr);
        return !failed_;
    }

private:
    enum class Listing { kFiles, kFilesAndFolders, kFolders };

    // A sub-folder still to enter: its name in names_, and its identity as
    // its folder's listing gave it.
    struct Pending {
        size_t name;
        bool known;
        FolderIdentity identity;
    };

    bool Stopped() const { return failed_ || (rules_.stop != nullptr && *rules_.stop != 0); }

    // Whether the folder in path_ is entered for the first time; one level
    // needs no record.
    bool FirstVisit(const FolderIdentity* known) {
        if (!rules_.subFolders) {
            return true;
        }
        FolderIdentity identity = {};
        if (known != nullptr) {
            identity = *known;
        } else if (!source_.Identify(path_, identity)) {
            return true;
        }
        volume_ = identity.volume;
        return visited_.Note(identity);
    }

    // path_ holds the folder.
    void Enter(int depth, const FolderIdentity* known) {
        if (Stopped() || !FirstVisit(known)) {
            return;
        }
        folderNumber_ = -1;
        collectFolders_ = rules_.subFolders && depth < MAX_FOLDER_DEPTH;
        const size_t firstPending = pending_.Count();
        if (rules_.extensions != nullptr) {
            List(L"*", Listing::kFilesAndFolders);
        } else {
            for (int i = 0; i < rules_.patternCount; ++i) {
                List(rules_.patterns[i], Listing::kFiles);
            }
            if (collectFolders_) {
                List(L"*", Listing::kFolders);
            }
        }
        // Read back by index: entering a sub-folder may move the blocks.
        const int length = length_;
        const ULONGLONG volume = volume_;
        for (size_t i = firstPending; i < pending_.Count() && !Stopped(); ++i) {
            const wchar_t* name = &names_[pending_[i].name];
            const int nameLength = lstrlenW(name);
            if (length + nameLength + 1 <= MAX_PATH_CHARS) {
                CopyWide(path_ + length, name, static_cast<size_t>(PATH_BUFFER_SIZE - length));
                CopyWide(path_ + length + nameLength, L"\\", static_cast<size_t>(PATH_BUFFER_SIZE - length - nameLength));
                length_ = length + nameLength + 1;
                FolderIdentity identity = pending_[i].identity;
                identity.volume = volume;
                Enter(depth + 1, pending_[i].known ? &identity : nullptr);
                path_[length] = L'\0';
                length_ = length;
            }
        }
        if (firstPending < pending_.Count()) {
            names_.Truncate(pending_[firstPending].name);
        }
        pending_.Truncate(firstPending);
    }

    void List(const wchar_t* pattern, Listing listing) {
        listing_ = listing;
        source_.List(path_, pattern, *this);
    }

    bool Found(const FolderItem& item) override {
        if (Stopped()) {
            return false;
        }
        if ((item.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (listing_ != Listing::kFiles && collectFolders_ && !IsDotEntry(item.name) &&
                (item.attributes & (NOT_ENTERED | NOT_ON_THIS_PC)) == 0 && !IsLink(item)) {
                Postpone(item);
            }
            return !failed_;
        }
        if (listing_ == Listing::kFolders || (cloudKept_ && (item.attributes & NOT_ON_THIS_PC) != 0) ||
            (listing_ == Listing::kFilesAndFolders && !HasListedExtension(item.name, rules_.extensions))) {
            return true;
        }
        if (folderNumber_ < 0) {
            folderNumber_ = files_.AddFolder(path_);
            failed_ = folderNumber_ < 0;
        }
        if (!failed_ && !files_.AddInFolder(folderNumber_, item.name)) {
            failed_ = GetLastError() != ERROR_FILENAME_EXCED_RANGE;
        }
        return !failed_;
    }

    // Notes a sub-folder to enter once the listing is over.
    void Postpone(const FolderItem& item) {
        const Pending pending = {names_.Count(), item.id != nullptr, item.id != nullptr ? *item.id : FolderIdentity{}};
        failed_ = !names_.Append(item.name, static_cast<size_t>(lstrlenW(item.name)) + 1) ||
                  !pending_.Append(pending);
    }

    const FolderRules& rules_;
    FolderSource& source_;
    MediaList& files_;
    const bool cloudKept_;  // files kept in the cloud are left out
    wchar_t path_[PATH_BUFFER_SIZE] = {};
    int length_ = 0;
    ULONGLONG volume_ = 0;   // of the folder in path_, which its sub-folders share
    int folderNumber_ = -1;  // the list's number for path_, once a file of it is taken
    Listing listing_ = Listing::kFiles;
    bool collectFolders_ = false;
    bool failed_ = false;        // the list could not grow
    HeapArray<wchar_t> names_;   // of the sub-folders still to enter, each ending in a NUL
    HeapArray<Pending> pending_;
    VisitedFolders visited_;
};

}  // namespace

bool WalkFolder(const wchar_t* folder, const FolderRules& rules, FolderSource& source, MediaList& files) {
    TreeWalk walk(rules, source, files);
    return walk.Walk(folder);
}
