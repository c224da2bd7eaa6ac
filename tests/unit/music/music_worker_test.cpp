#include "music/music_worker.h"

#include "base/test_hooks.h"
#include "music/music_player.h"
#include "music/play_next_track.h"
#include "music_fixture.h"
#include "settings/saver_settings.h"
#include "support/music_files.h"

namespace {

HANDLE openMayGo = nullptr;
volatile LONG opened = 0;
DWORD openingThread = 0;

// The platform's open, once the test lets it go. Bounded, so that an open
// made on the test's own thread ends the wait and shows.
MCIERROR HeldOpen(MusicPlayer& player, HWND window, const wchar_t* file) {
    openingThread = GetCurrentThreadId();
    WaitForSingleObject(openMayGo, NOTICE_TIMEOUT_MS / 5);
    InterlockedExchange(&opened, 1);
    return player.Open(window, file);
}

// The window's thread does not wait for the music: a first file that takes
// long to open (a cold start of the decoders, or no audio device) is opened
// beside it, and plays once it has.
TEST_F(MusicTest, StartComesBackWhileTheFirstFileIsStillOpeningAndItPlaysAfter) {
    SaverSettings settings("gleamo");
    settings.playMusic = 1;
    ASSERT_TRUE(settings.musicFiles.Add(temp_.Write("song.wav", WaveBytes(300)).c_str()));
    openMayGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    InterlockedExchange(&opened, 0);
    Hooks().trackOpen = HeldOpen;
    {
        MusicWorker music;
        music.Start(window_, settings.musicFiles, MusicOptionsOf(settings));
        EXPECT_EQ(opened, 0) << "Start waited for the open";
        SetEvent(openMayGo);
        EXPECT_EQ(music.TrackLength(), 300u);
        EXPECT_NE(openingThread, GetCurrentThreadId());
        music.Stop();
        EXPECT_EQ(music.TrackLength(), 0u);
    }
    CloseHandle(openMayGo);
}

}  // namespace
