#include "settings/media_expansion.h"

#include <windows.h>

#include "base/file_finder.h"
#include "base/path_limits.h"
#include "base/paths.h"
#include "music/music_player.h"
#include "settings/saver_settings.h"

namespace {

const char* const PICTURE_PATTERNS[] = {"*.bmp", "*.jpg"};
const char* const MUSIC_PATTERNS[] = {"*.wav", "*.mid", "*.mp3", "*.wma", "*.cda"};

constexpr DWORD EVERY_ITEM = 0;

// Adds one file to a list, after the playability test when a scratch player
// is given. False only when the list cannot grow.
class ListFiller {
public:
    ListFiller(MediaList& files, MusicPlayer* tester) : files_(files), tester_(tester) {}

    bool Offer(const char* path) {
        if (tester_ != nullptr) {
            if (tester_->Open(nullptr, path) != 0) {
                return true;  // unplayable files are left out without a word
            }
            tester_->Close();
        }
        return files_.Add(path);
    }

    // Offers every file (not folder) of folder that matches pattern.
    bool OfferFolder(const char* folder, const char* pattern) {
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
            if (!Offer(path)) {
                return false;
            }
        } while (finder.Advance());
        return true;
    }

private:
    MediaList& files_;
    MusicPlayer* tester_;
};

template <int PatternCount>
bool ExpandEntries(const StringList& entries, const char* const (&patterns)[PatternCount], ListFiller& filler) {
    for (int i = 0; i < entries.Count(); ++i) {
        const char* entry = entries.Get(i);
        if (!IsDirectoryPath(entry)) {
            if (!filler.Offer(entry)) {
                return false;
            }
            continue;
        }
        for (const char* pattern : patterns) {
            if (!filler.OfferFolder(entry, pattern)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool ExpandMediaEntries(SaverSettings& settings) {
    ListFiller pictures(settings.pictureFiles, nullptr);
    if (!ExpandEntries(settings.pictureEntries, PICTURE_PATTERNS, pictures)) {
        return false;
    }
    // One scratch player tests every music file; its destructor closes it.
    MusicPlayer tester;
    ListFiller music(settings.musicFiles, &tester);
    return ExpandEntries(settings.musicEntries, MUSIC_PATTERNS, music);
}
