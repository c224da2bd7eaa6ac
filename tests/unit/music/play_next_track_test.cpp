#include "music/play_next_track.h"

#include "music/music_player.h"
#include "music_fixture.h"
#include "settings/saver_settings.h"
#include "support/music_files.h"

namespace {

class MusicPlayerPlayNextTrack : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        settings_.playMusic = 1;
        settings_.musicShuffle = 0;
        // As the saver's window procedure does: only a success moves on.
        window_.onNotice = [this](WPARAM code) {
            if (code == MCI_NOTIFY_SUCCESSFUL) {
                Advance();
            }
        };
    }

    void Add(const std::string& name, int milliseconds) {
        ASSERT_TRUE(settings_.musicFiles.Add(Write(name, WaveBytes(milliseconds)).c_str()));
    }

    // One step of the playlist; records the length of what is now open.
    void Advance() {
        PlayNextTrack(window_.Handle(), settings_, player_);
        DWORD_PTR length = 0;
        player_.StatusItem(MCI_STATUS_LENGTH, length);
        lengths_.push_back(player_.IsOpen() ? static_cast<int>(length) : -1);
    }

    SaverSettings settings_{"gleamo"};
    MusicPlayer player_;
    std::vector<int> lengths_;
};

// Music off takes no entry from the list, and a file that does not open is
// not skipped over for the next one.
TEST_F(MusicPlayerPlayNextTrack, StaysSilentWhenOffWithAnEmptyListOrAFileThatDoesNotOpen) {
    Advance();
    ASSERT_TRUE(settings_.musicFiles.Add((temp_ / "gone.wav").c_str()));
    Add("never-reached.wav", 300);
    settings_.playMusic = 0;
    Advance();
    settings_.playMusic = 1;
    Advance();
    EXPECT_EQ(lengths_, (std::vector<int>{-1, -1, -1}));
}

TEST_F(MusicPlayerPlayNextTrack, AdvancesToNextTrackOnEachSuccessAndWraps) {
    Add("short.wav", 300);
    Add("longer.wav", 500);
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

}  // namespace
