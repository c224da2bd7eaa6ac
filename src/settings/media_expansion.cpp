#include "settings/media_expansion.h"

#include <windows.h>

#include "base/disk_folder_source.h"
#include "base/media_list.h"
#include "base/path_limits.h"
#include "base/paths.h"
#include "base/wide_path.h"
#include "settings/saver_settings.h"

namespace {

const wchar_t* const PICTURE_PATTERNS[] = {L"*.bmp", L"*.jpg"};
const wchar_t* const MUSIC_PATTERNS[] = {L"*.wav", L"*.mid", L"*.mp3", L"*.wma", L"*.cda"};

template <int PatternCount>
FolderRules RulesOf(const wchar_t* const (&patterns)[PatternCount], bool subFolders) {
    return FolderRules{patterns, PatternCount, nullptr, subFolders, nullptr};
}

// The full path of a folder entry, with its trailing backslash, wide; false
// when it is no folder or its path would not fit.
bool FolderOfEntry(const char* moduleDir, const char* entry, wchar_t* folder) {
    char resolved[PATH_BUFFER_SIZE];
    char full[PATH_BUFFER_SIZE];
    char withSlash[PATH_BUFFER_SIZE];
    if (!ResolveAgainstDir(moduleDir, entry, resolved) || !IsDirectoryPath(resolved)) {
        return false;
    }
    const DWORD length = GetFullPathNameA(resolved, sizeof full, full, nullptr);
    return length != 0 && length < sizeof full && CopyWithTrailingBackslash(full, withSlash) &&
           AnsiToWidePath(withSlash, folder);
}

}  // namespace

bool PicturesSearchedApart(const SaverSettings& settings) {
    return settings.pictureSubFolders != 0 || settings.allFormats != 0;
}

bool MusicSearchedApart(const SaverSettings& settings) {
    return settings.musicSubFolders != 0;
}

FolderRules PictureFolderRules(const SaverSettings& settings) {
    return RulesOf(PICTURE_PATTERNS, settings.pictureSubFolders != 0);
}

FolderRules MusicFolderRules(const SaverSettings& settings) {
    return RulesOf(MUSIC_PATTERNS, settings.musicSubFolders != 0);
}

bool ExpandEntries(const StringList& entries, const char* moduleDir, const FolderRules& rules, MediaList& files) {
    DiskFolderSource disk;
    for (int i = 0; i < entries.Count(); ++i) {
        if (rules.stop != nullptr && *rules.stop != 0) {
            return true;
        }
        const char* entry = entries.Get(i);
        wchar_t folder[PATH_BUFFER_SIZE];
        // Too long to resolve means too long to be a folder: kept as it stands.
        const bool added = FolderOfEntry(moduleDir, entry, folder) ? WalkFolder(folder, rules, disk, files)
                                                                    : files.Add(entry) ||
                                                                          GetLastError() != ERROR_NOT_ENOUGH_MEMORY;
        if (!added) {
            return false;
        }
    }
    return true;
}

bool ExpandMediaEntries(SaverSettings& settings) {
    if (!PicturesSearchedApart(settings) &&
        !ExpandEntries(settings.pictureEntries, settings.moduleDir, PictureFolderRules(settings),
                       settings.pictureFiles)) {
        return false;
    }
    if (settings.playMusic == 0 || MusicSearchedApart(settings)) {
        return true;
    }
    return ExpandEntries(settings.musicEntries, settings.moduleDir, MusicFolderRules(settings), settings.musicFiles);
}
