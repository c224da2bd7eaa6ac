#include "music/play_next_track.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/music_player.h"
#include "notify_window.h"
#include "settings/saver_settings.h"
#include "support/music_files.h"
#include "support/test_files.h"

namespace {

class MusicPlayerPlayNextTrack : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
        settings_.playMusic = 1;
        settings_.musicShuffle = 0;
        // As the saver's window procedure does: only a success moves on.
        window_.onNotice = [this](WPARAM code) {
            if (code == MCI_NOTIFY_SUCCESSFUL) {
                Advance();
            }
        };
    }

    std::string Write(const std::string& name, int milliseconds) {
        const std::string path = temp_ / name;
        EXPECT_TRUE(WriteFileBytes(path, WaveBytes(milliseconds)));
        return path;
    }

    // One step of the playlist; records the length of what is now open.
    void Advance() {
        PlayNextTrack(window_.Handle(), settings_, player_);
        DWORD_PTR length = 0;
        player_.StatusItem(MCI_STATUS_LENGTH, length);
        lengths_.push_back(player_.IsOpen() ? static_cast<int>(length) : -1);
    }

    TempFolder temp_;
    SaverSettings settings_{"gleamo"};
    MusicPlayer player_;
    NotifyWindow window_;
    std::vector<int> lengths_;
};

TEST_F(MusicPlayerPlayNextTrack, DoesNothingWhenMusicIsOffOrTheListIsEmpty) {
    Advance();
    ASSERT_TRUE(settings_.musicFiles.Add(Write("a.wav", 300).c_str()));
    settings_.playMusic = 0;
    Advance();
    EXPECT_EQ(lengths_, (std::vector<int>{-1, -1}));
}

TEST_F(MusicPlayerPlayNextTrack, AdvancesToNextTrackOnEachSuccessAndWraps) {
    ASSERT_TRUE(settings_.musicFiles.Add(Write("short.wav", 300).c_str()));
    ASSERT_TRUE(settings_.musicFiles.Add(Write("longer.wav", 500).c_str()));
    Advance();
    EXPECT_TRUE(player_.IsPlaying());
    ASSERT_TRUE(window_.PumpUntil([&] { return lengths_.size() >= 4; }, 4 * NOTICE_TIMEOUT_MS))
        << "notices seen: " << window_.notices.size();
    player_.Close();
    EXPECT_EQ(std::vector<int>(lengths_.begin(), lengths_.begin() + 4), (std::vector<int>{300, 500, 300, 500}));
}

TEST_F(MusicPlayerPlayNextTrack, ABareNameIsPlayedFromTheProgramDirectory) {
    char name[64];
    wsprintfA(name, "gleamo-bare-%lu.wav", GetCurrentProcessId());
    const std::string besideProgram = std::string(settings_.moduleDir) + name;
    ASSERT_TRUE(WriteFileBytes(besideProgram, WaveBytes(400)));
    ASSERT_TRUE(settings_.musicFiles.Add(name));
    Advance();
    player_.Close();
    DeleteFileA(besideProgram.c_str());
    EXPECT_EQ(lengths_, (std::vector<int>{400}));
}

TEST_F(MusicPlayerPlayNextTrack, AFileThatDoesNotOpenLeavesThePlayerClosedAndSilent) {
    ASSERT_TRUE(settings_.musicFiles.Add((temp_ / "gone.wav").c_str()));
    ASSERT_TRUE(settings_.musicFiles.Add(Write("never-reached.wav", 300).c_str()));
    Advance();
    EXPECT_EQ(lengths_, (std::vector<int>{-1}));
}

}  // namespace
