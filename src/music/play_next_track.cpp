#include "music/play_next_track.h"

#include <commdlg.h>

#include <new>

#include "base/path_limits.h"
#include "base/paths.h"
#include "music/music_player.h"
#include "music/music_time.h"
#include "settings/saver_settings.h"

namespace {

// A range that starts at the beginning and runs to the end of the medium.
constexpr unsigned FIRST_TRACK = 1;
constexpr unsigned AT_START = 0;
constexpr unsigned TO_END = 0;

void PlayCdTrack(const char* file, MusicPlayer& player) {
    char title[PATH_BUFFER_SIZE] = {};
    if (GetFileTitleA(file, title, sizeof title) != 0) {
        title[0] = '\0';
    }
    const unsigned track = TrackFromTitle(title);
    unsigned minutes = 0;
    unsigned seconds = 0;
    player.GetLength(track, minutes, seconds);
    player.Play(track, AT_START, AT_START, minutes, seconds);
}

// Opens and starts one entry of the list; true when it is playing. Otherwise
// the player is closed.
bool StartTrack(HWND window, const char* moduleDir, const char* path, MusicPlayer& player) {
    char file[PATH_BUFFER_SIZE];
    // A path too long to name a file is treated like one that does not open.
    if (!ResolveAgainstDir(moduleDir, path, file) || player.Open(window, file) != 0) {
        player.Close();
        return false;
    }
    if (player.DeviceType() == MCI_DEVTYPE_CD_AUDIO) {
        PlayCdTrack(file, player);
    } else {
        player.Play(FIRST_TRACK, AT_START, AT_START, TO_END, TO_END);
    }
    if (player.IsPlaying()) {
        return true;
    }
    player.Close();
    return false;
}

// The entries one call has tried. A shuffled list reshuffles when a pass
// starts, so drawing Count() entries in a row may give one twice and another
// never; remembering them lets the search run on into the next pass. The list
// hands out the same pointer for an entry every time, so pointers identify
// entries. Without memory for the record every draw counts as new, and the
// search is bounded by the attempts alone.
class TriedEntries {
public:
    explicit TriedEntries(int capacity) : entries_(new (std::nothrow) const char*[capacity]) {}
    ~TriedEntries() { delete[] entries_; }
    TriedEntries(const TriedEntries&) = delete;
    TriedEntries& operator=(const TriedEntries&) = delete;

    // Notes entry; false when it was noted before.
    bool Note(const char* entry) {
        if (entries_ == nullptr) {
            return true;
        }
        for (int i = 0; i < count_; ++i) {
            if (entries_[i] == entry) {
                return false;
            }
        }
        entries_[count_++] = entry;
        return true;
    }

private:
    const char** entries_;
    int count_ = 0;
};

}  // namespace

void PlayNextTrack(HWND window, SaverSettings& settings, MusicPlayer& player) {
    const int count = settings.musicFiles.Count();
    if (settings.playMusic == 0 || count == 0) {
        return;
    }
    const bool shuffle = settings.musicShuffle != 0;
    TriedEntries tried(count);
    // The rest of this pass and one whole pass after it hold every entry.
    int attempts = 0;
    for (int draws = 0; draws < 2 * count && attempts < count; ++draws) {
        const char* path = settings.musicFiles.Next(shuffle);
        if (path == nullptr || path[0] == '\0' || !tried.Note(path)) {
            continue;
        }
        ++attempts;
        if (StartTrack(window, settings.moduleDir, path, player)) {
            return;
        }
    }
    player.Close();
}
