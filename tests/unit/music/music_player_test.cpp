#include "music/music_player.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

#include "notify_window.h"
#include "support/music_files.h"
#include "support/test_files.h"

namespace {

// Under Wine the sounds go to the PulseAudio null sink that the test runner
// starts; without an audio device no wave file opens and these tests fail,
// as they must on CI.
class MusicPlayerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?"; }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = temp_ / name;
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
        return path;
    }

    // Plays the open file to its end and returns the notices it brought.
    void PlayToTheEnd(MusicPlayer& player) {
        ASSERT_EQ(player.Play(1, 0, 0, 0, 0), 0u);
        EXPECT_TRUE(player.IsPlaying());
        ASSERT_TRUE(window_.PumpUntil([&] { return !window_.notices.empty(); }, NOTICE_TIMEOUT_MS))
            << "no MM_MCINOTIFY arrived";
    }

    TempFolder temp_;
    NotifyWindow window_;
};

TEST_F(MusicPlayerTest, AWaveFileSendsASuccessNotificationAtItsEnd) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(window_.Handle(), Write("tone.wav", WaveBytes(700)).c_str()), 0u);
    EXPECT_EQ(player.DeviceType(), static_cast<DWORD>(MCI_DEVTYPE_WAVEFORM_AUDIO));
    PlayToTheEnd(player);
    ASSERT_EQ(window_.notices.size(), 1u);
    EXPECT_EQ(window_.notices[0].code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_FALSE(player.IsOpen());
}

// The file is written frame by frame (silence); playing it needs the 32-bit
// GStreamer plugins that tools/setup installs for Wine's DirectShow.
TEST_F(MusicPlayerTest, AnMp3FileSendsASuccessNotificationAtItsEnd) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(window_.Handle(), Write("quiet.mp3", Mp3Bytes(600)).c_str()), 0u)
        << "a device that cannot tell its display window must still open";
    EXPECT_EQ(player.DeviceType(), static_cast<DWORD>(MCI_DEVTYPE_DIGITAL_VIDEO));
    PlayToTheEnd(player);
    ASSERT_EQ(window_.notices.size(), 1u);
    EXPECT_EQ(window_.notices[0].code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

TEST_F(MusicPlayerTest, PlayingToAPositionStopsThere) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(window_.Handle(), Write("long.wav", WaveBytes(3000)).c_str()), 0u);
    ASSERT_EQ(player.Play(1, 0, 0, 0, 1), 0u);
    ASSERT_TRUE(window_.PumpUntil([&] { return !window_.notices.empty(); }, NOTICE_TIMEOUT_MS));
    EXPECT_EQ(window_.notices[0].code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
    DWORD_PTR position = 0;
    ASSERT_EQ(player.StatusItem(MCI_STATUS_POSITION, position), 0u);
    EXPECT_EQ(position, 1000u) << "milliseconds";
}

TEST_F(MusicPlayerTest, LengthComesInWholeMinutesAndSeconds) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(nullptr, Write("minute.wav", WaveBytes(62500)).c_str()), 0u);
    unsigned minutes = 9;
    unsigned seconds = 9;
    ASSERT_EQ(player.GetLength(0, minutes, seconds), 0u);
    EXPECT_EQ(minutes, 1u);
    EXPECT_EQ(seconds, 2u);

    player.Close();
    minutes = seconds = 9;
    EXPECT_NE(player.GetLength(0, minutes, seconds), 0u) << "nothing is open";
    EXPECT_EQ(minutes, 0u);
    EXPECT_EQ(seconds, 0u);
}

TEST_F(MusicPlayerTest, CloseDuringPlayBringsNoSuccessNotification) {
    MusicPlayer stopped;
    ASSERT_EQ(stopped.Open(window_.Handle(), Write("stopped.wav", WaveBytes(800)).c_str()), 0u);
    ASSERT_EQ(stopped.Play(1, 0, 0, 0, 0), 0u);
    EXPECT_EQ(stopped.Close(), 0u);
    EXPECT_FALSE(stopped.IsPlaying());

    // Notices are posted in order: once this longer file has finished, a
    // success of the stopped one would have arrived before it.
    MusicPlayer marker;
    ASSERT_EQ(marker.Open(window_.Handle(), Write("marker.wav", WaveBytes(1200)).c_str()), 0u);
    ASSERT_EQ(marker.Play(1, 0, 0, 0, 0), 0u);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.CountOf(MCI_NOTIFY_SUCCESSFUL) > 0; }, NOTICE_TIMEOUT_MS));
    EXPECT_EQ(window_.CountOf(MCI_NOTIFY_SUCCESSFUL), 1) << "only the marker's";
}

TEST_F(MusicPlayerTest, OpeningTheNextFileEndsThePreviousOneWithoutSuccess) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(window_.Handle(), Write("first.wav", WaveBytes(800)).c_str()), 0u);
    ASSERT_EQ(player.Play(1, 0, 0, 0, 0), 0u);
    ASSERT_EQ(player.Open(window_.Handle(), Write("second.wav", WaveBytes(1200)).c_str()), 0u);
    ASSERT_EQ(player.Play(1, 0, 0, 0, 0), 0u);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.CountOf(MCI_NOTIFY_SUCCESSFUL) > 0; }, NOTICE_TIMEOUT_MS));
    EXPECT_EQ(window_.CountOf(MCI_NOTIFY_SUCCESSFUL), 1);
}

TEST_F(MusicPlayerTest, AMidiFileOpensOnTheSequencerWithItsLength) {
    MusicPlayer player;
    ASSERT_EQ(player.Open(window_.Handle(), Write("note.mid", MidiBytes(2000)).c_str()), 0u);
    EXPECT_EQ(player.DeviceType(), static_cast<DWORD>(MCI_DEVTYPE_SEQUENCER));
    unsigned minutes = 9;
    unsigned seconds = 9;
    ASSERT_EQ(player.GetLength(0, minutes, seconds), 0u);
    EXPECT_EQ(minutes, 0u);
    EXPECT_EQ(seconds, 2u);
}

TEST_F(MusicPlayerTest, UnplayableFilesAreRefusedAndLeaveThePlayerClosed) {
    const std::string wave = WaveBytes(500);
    const std::string refused[] = {
        Write("truncated.wav", wave.substr(0, 30)),
        Write("text.mp3", "this is a text file, not music\r\n"),
        Write("empty.wav", ""),
        Write("unknown.xyz", wave),
        temp_ / "missing.wav",
    };
    MusicPlayer player;
    for (const std::string& path : refused) {
        ASSERT_EQ(player.Open(window_.Handle(), Write("good.wav", wave).c_str()), 0u);
        EXPECT_NE(player.Open(window_.Handle(), path.c_str()), 0u) << path;
        EXPECT_FALSE(player.IsOpen()) << path;
        EXPECT_FALSE(player.IsPlaying()) << path;
        EXPECT_EQ(player.Close(), 0u) << "nothing is open";
        EXPECT_NE(player.Play(1, 0, 0, 0, 0), 0u) << "nothing to play";
    }
}

}  // namespace
