#include "music/play_next_track.h"

#include <algorithm>
#include <cstdlib>

#include "base/test_hooks.h"
#include "music/music_player.h"
#include "music_fixture.h"
#include "settings/media_expansion.h"
#include "settings/saver_settings.h"
#include "support/music_files.h"

namespace {

class MusicPlayerPlayNextTrack : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        settings_.playMusic = 1;
        settings_.musicShuffle = 0;
    }

    void Add(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(settings_.musicFiles.Add(temp_.Write(name, bytes).c_str()));
    }

    // One step of the playlist; records the length of what is now open.
    void Advance() {
        PlayNextTrack(window_, settings_.musicFiles, MusicOptionsOf(settings_), player_);
        DWORD_PTR length = 0;
        player_.StatusItem(MCI_STATUS_LENGTH, length);
        lengths_.push_back(player_.IsOpen() ? static_cast<int>(length) : -1);
    }

    SaverSettings settings_{"gleamo"};
    MusicPlayer player_;
    std::vector<int> lengths_;
};

// The track it starts tells the window of its end, which is what moves the
// saver's list on.
TEST_F(MusicPlayerPlayNextTrack, PassesOverFilesThatDoNotPlayInOrderAndShuffled) {
    // Short, since stopping a wave file waits for its end under Wine.
    Add("broken.wav", WaveBytes(150).substr(0, 30));
    Add("good.wav", WaveBytes(150));
    ASSERT_TRUE(settings_.musicFiles.Add((temp_ / "gone.wav").c_str()));
    Advance();
    Advance();
    // Shuffled, a search that runs past the end of a pass goes on into the
    // next one until every file has had its turn.
    settings_.musicShuffle = 1;
    std::srand(1);
    for (int i = 0; i < 8; ++i) {
        Advance();
    }
    EXPECT_TRUE(player_.IsPlaying());
    EXPECT_TRUE(WaitUntil(NOTICE_TIMEOUT_MS, [&] {
        return std::count(notices_.begin(), notices_.end(), WPARAM{MCI_NOTIFY_SUCCESSFUL}) > 0;
    })) << "the window never heard a track end";
    player_.Close();
    EXPECT_EQ(lengths_, std::vector<int>(10, 150));
}

// The dialog stores a song beside the program by its bare name, and the
// system starts the saver with the current directory usually elsewhere. An
// MP3, since its device looks for a bare name in the current directory only,
// where the wave device also searches the program's folder.
TEST_F(MusicPlayerPlayNextTrack, ASongBesideTheProgramIsListedAndPlayedByItsBareName) {
    const std::string name = "gleamo-bare-" + std::to_string(GetCurrentProcessId()) + ".mp3";
    const std::string besideProgram = settings_.moduleDir + name;
    ASSERT_TRUE(WriteFileBytes(besideProgram, Mp3Bytes(400)));
    ASSERT_TRUE(settings_.musicEntries.Add(name.c_str()));

    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(temp_.Path().c_str());
    const bool expanded = ExpandMediaEntries(settings_);
    Advance();
    player_.Close();
    SetCurrentDirectoryA(previous);
    DeleteFileA(besideProgram.c_str());
    ASSERT_TRUE(expanded);
    EXPECT_EQ(lengths_.size(), 1u);
    EXPECT_GT(lengths_[0], 0) << "not played";
}

// Wine's answers without an audio device: an MP3 fails to open with
// MCIERR_INTERNAL, as a damaged one does, and no wave output device is left.
// Every other file would fail as slowly, so the first such failure ends the
// search; a failure of the file moves on to the next, each file tried once
// when none plays. Music off, or no file listed, opens nothing.
TEST(PlayNextTrackFailures, ADeviceFailureEndsTheSearchAtOnceAndAFileFailureMovesOn) {
    static MCIERROR openError;
    static int opens;
    static UINT outputs;
    const struct {
        MCIERROR error;
        UINT outputDevices;
        int expectedOpens;
    } cases[] = {
        {MCIERR_CANNOT_LOAD_DRIVER, 1, 1},
        {MCIERR_DEVICE_NOT_INSTALLED, 1, 1},
        {MCIERR_WAVE_OUTPUTSUNSUITABLE, 1, 1},
        {MCIERR_INTERNAL, 0, 1},
        {MCIERR_INTERNAL, 1, 3},
        {MCIERR_FILE_NOT_FOUND, 1, 3},
    };
    SaverSettings settings("gleamo");
    settings.playMusic = 1;
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3"}) {
        ASSERT_TRUE(settings.musicFiles.Add(name));
    }
    Hooks().trackOpen = [](MusicPlayer&, HWND, const wchar_t*) {
        ++opens;
        return openError;
    };
    Hooks().outputDeviceCount = [] { return outputs; };
    MusicPlayer player;
    for (const auto& c : cases) {
        openError = c.error;
        outputs = c.outputDevices;
        opens = 0;
        PlayNextTrack(nullptr, settings.musicFiles, MusicOptionsOf(settings), player);
        EXPECT_EQ(opens, c.expectedOpens) << "error " << c.error << ", " << c.outputDevices << " output devices";
        EXPECT_FALSE(player.IsOpen());
    }
    SaverSettings empty("gleamo");
    empty.playMusic = 1;
    settings.playMusic = 0;
    opens = 0;
    PlayNextTrack(nullptr, settings.musicFiles, MusicOptionsOf(settings), player);
    PlayNextTrack(nullptr, empty.musicFiles, MusicOptionsOf(empty), player);
    EXPECT_EQ(opens, 0);
}

}  // namespace
