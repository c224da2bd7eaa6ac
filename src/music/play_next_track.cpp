#include "music/play_next_track.h"

#include <commdlg.h>

#include <new>

#include "base/media_list.h"
#include "base/path_limits.h"
#include "base/test_hooks.h"
#include "base/wide_path.h"
#include "base/winmm_functions.h"
#include "music/music_player.h"
#include "music/music_time.h"

namespace {

// A range that starts at the beginning and runs to the end of the medium.
constexpr unsigned FIRST_TRACK = 1;
constexpr unsigned AT_START = 0;
constexpr unsigned TO_END = 0;

MCIERROR OpenTrack(MusicPlayer& player, HWND window, const wchar_t* file) {
    return Hooks().trackOpen != nullptr ? Hooks().trackOpen(player, window, file) : player.Open(window, file);
}

UINT OutputDeviceCount() {
    return Hooks().outputDeviceCount != nullptr ? Hooks().outputDeviceCount() : Winmm().waveOutGetNumDevs();
}

// The platform names CD tracks Track05.cda and the like, on a drive letter:
// names the ANSI code page always holds.
MCIERROR PlayCdTrack(const wchar_t* file, MusicPlayer& player) {
    char name[PATH_BUFFER_SIZE];
    char title[PATH_BUFFER_SIZE] = {};
    if (!WidePathToAnsi(file, name) || GetFileTitleA(name, title, sizeof title) != 0) {
        title[0] = '\0';
    }
    const unsigned track = TrackFromTitle(title);
    unsigned minutes = 0;
    unsigned seconds = 0;
    player.GetLength(track, minutes, seconds);
    return player.Play(track, AT_START, AT_START, minutes, seconds);
}

// Whether a file failed for want of an audio device rather than for what it
// holds. These codes say so themselves. Wine says nothing of the kind: with no
// device it fails an MP3's open with MCIERR_INTERNAL, as it fails a damaged
// one, and lets a wave file open and then never play; there the count of wave
// output devices tells, and with none no file can be heard.
bool IsDeviceFailure(MCIERROR error) {
    switch (error) {
        case MCIERR_CANNOT_LOAD_DRIVER:
        case MCIERR_DEVICE_NOT_INSTALLED:
        case MCIERR_WAVE_OUTPUTSUNSUITABLE:
        case MCIERR_SEQ_NOMIDIPRESENT:
            return true;
        default:
            return OutputDeviceCount() == 0;
    }
}

enum class TrackStart { kPlaying, kFileFailed, kDeviceFailed };

// Opens and starts one entry of the list. Unless it plays, the player is
// closed.
TrackStart StartTrack(HWND window, const char* moduleDir, const wchar_t* path, MusicPlayer& player) {
    wchar_t file[PATH_BUFFER_SIZE];
    // A path too long to name a file is treated like one that does not open.
    if (!ResolveWideAgainstDir(moduleDir, path, file)) {
        player.Close();
        return TrackStart::kFileFailed;
    }
    MCIERROR error = OpenTrack(player, window, file);
    if (error == 0) {
        if (player.DeviceType() == MCI_DEVTYPE_CD_AUDIO) {
            error = PlayCdTrack(file, player);
        } else {
            error = player.Play(FIRST_TRACK, AT_START, AT_START, TO_END, TO_END);
        }
        if (player.IsPlaying()) {
            return TrackStart::kPlaying;
        }
    }
    player.Close();
    return IsDeviceFailure(error) ? TrackStart::kDeviceFailed : TrackStart::kFileFailed;
}

// The entries one call has tried, by their numbers in the list. A shuffled
// list reshuffles when a pass starts, so drawing Count() entries in a row may
// give one twice and another never; remembering them lets the search run on
// into the next pass. Without memory for the record every draw counts as new,
// and the search is bounded by the attempts alone.
class TriedEntries {
public:
    explicit TriedEntries(int capacity) : entries_(new (std::nothrow) int[capacity]) {}
    ~TriedEntries() { delete[] entries_; }
    TriedEntries(const TriedEntries&) = delete;
    TriedEntries& operator=(const TriedEntries&) = delete;

    // Notes entry; false when it was noted before.
    bool Note(int entry) {
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
    int* entries_;
    int count_ = 0;
};

}  // namespace

void PlayNextTrack(HWND window, MediaList& files, const MusicOptions& options, MusicPlayer& player) {
    const int count = files.Count();
    if (!options.play || count == 0) {
        return;
    }
    TriedEntries tried(count);
    // The rest of this pass and one whole pass after it hold every entry.
    int attempts = 0;
    for (int draws = 0; draws < 2 * count && attempts < count; ++draws) {
        int entry = 0;
        const wchar_t* path = files.Next(options.shuffle, &entry);
        if (path == nullptr || path[0] == L'\0' || !tried.Note(entry)) {
            continue;
        }
        ++attempts;
        const TrackStart start = StartTrack(window, options.programDir, path, player);
        if (start == TrackStart::kPlaying) {
            return;
        }
        if (start == TrackStart::kDeviceFailed) {
            break;
        }
    }
    player.Close();
}
