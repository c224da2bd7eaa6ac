// The saver's step through its music list.
#pragma once

#include <windows.h>

class MusicPlayer;
class SaverSettings;

// Starts the next file of settings.musicFiles on player, with its completion
// notice going to window; does nothing when music is off or the list is
// empty. A file that cannot be opened or started leaves the player closed,
// so no notice comes and the music stays silent.
void PlayNextTrack(HWND window, SaverSettings& settings, MusicPlayer& player);
