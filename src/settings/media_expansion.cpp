#include "settings/media_expansion.h"

#include <windows.h>

#include "base/file_finder.h"
#include "base/path_limits.h"
#include "base/paths.h"
#include "settings/saver_settings.h"

namespace {

const char* const PICTURE_PATTERNS[] = {"*.bmp", "*.jpg"};
const char* const MUSIC_PATTERNS[] = {"*.wav", "*.mid", "*.mp3", "*.wma", "*.cda"};

constexpr DWORD EVERY_ITEM = 0;

// Adds every file (not folder) of folder that matches pattern. False only
// when the list cannot grow.
bool AddFolderFiles(const char* folder, const char* pattern, MediaList& files) {
    char search[PATH_BUFFER_SIZE];
    char withSlash[PATH_BUFFER_SIZE];
    if (!CopyWithTrailingBackslash(folder, withSlash) || !JoinPath(withSlash, pattern, search)) {
        return true;
    }
    FileFinder finder;
    if (!finder.Open(search, EVERY_ITEM)) {
        return true;
    }
    do {
        char path[PATH_BUFFER_SIZE];
        // An empty directory means the full path could not be formed: the
        // bare name would point somewhere else, so the item is skipped.
        if (finder.IsDirectory() || finder.Directory()[0] == '\0' ||
            !JoinPath(finder.Directory(), finder.Name(), path)) {
            continue;
        }
        if (!files.Add(path)) {
            return false;
        }
    } while (finder.Advance());
    return true;
}

template <int PatternCount>
bool ExpandEntries(const StringList& entries, const char* moduleDir, const char* const (&patterns)[PatternCount],
                   MediaList& files) {
    for (int i = 0; i < entries.Count(); ++i) {
        const char* entry = entries.Get(i);
        // Too long to resolve means too long to be a folder: kept as it stands.
        char resolved[PATH_BUFFER_SIZE];
        if (!ResolveAgainstDir(moduleDir, entry, resolved) || !IsDirectoryPath(resolved)) {
            if (!files.Add(entry)) {
                return false;
            }
            continue;
        }
        for (const char* pattern : patterns) {
            if (!AddFolderFiles(resolved, pattern, files)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool ExpandMediaEntries(SaverSettings& settings) {
    if (!ExpandEntries(settings.pictureEntries, settings.moduleDir, PICTURE_PATTERNS, settings.pictureFiles)) {
        return false;
    }
    if (settings.playMusic == 0) {
        return true;
    }
    return ExpandEntries(settings.musicEntries, settings.moduleDir, MUSIC_PATTERNS, settings.musicFiles);
}
