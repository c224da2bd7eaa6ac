// The saver's step through its music list.
#pragma once

#include <windows.h>

#include "base/path_limits.h"

class MediaList;
class MusicPlayer;

// How the music list is played, as plain values the caller takes from its
// settings.
struct MusicOptions {
    bool play = false;     // music is on
    bool shuffle = false;  // each pass through the list comes in a new order
    char programDir[PATH_BUFFER_SIZE] = {};  // with a trailing backslash: where a bare name is found
};

// Starts the next file of files that plays on player, with its
// completion notice going to window; a bare name means a file beside the
// program. Files are only proven here, so one that does not open or does not
// start is passed over for the one after it, each file tried at most once per
// call. A failure of the audio device itself, not of the file, ends the call
// at once: every other file would fail the same way, each as slowly. When
// none plays, or music is off, or the list is empty, the player is left
// closed: no notice comes and the music stays silent.
void PlayNextTrack(HWND window, MediaList& files, const MusicOptions& options, MusicPlayer& player);
