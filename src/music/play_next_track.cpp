#include "music/play_next_track.h"

#include <commdlg.h>

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

}  // namespace

void PlayNextTrack(HWND window, SaverSettings& settings, MusicPlayer& player) {
    if (settings.playMusic == 0 || settings.musicFiles.Count() == 0) {
        return;
    }
    const char* path = settings.musicFiles.Next(settings.musicShuffle != 0);
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    char file[PATH_BUFFER_SIZE];
    if (!ResolveAgainstDir(settings.moduleDir, path, file)) {
        // Too long to name a file: treated like one that does not open.
        player.Close();
        return;
    }
    // A failed open leaves the player closed; the calls below then fail harmlessly.
    player.Open(window, file);
    if (player.DeviceType() == MCI_DEVTYPE_CD_AUDIO) {
        PlayCdTrack(file, player);
    } else {
        player.Play(FIRST_TRACK, AT_START, AT_START, TO_END, TO_END);
    }
    if (!player.IsPlaying()) {
        player.Close();
    }
}
