#include "music/music_player.h"

#include <algorithm>
#include <utility>

#include "base/test_hooks.h"
#include "music_fixture.h"
#include "support/music_files.h"

namespace {

class MusicPlayerTest : public MusicTest {
protected:
    bool OpenAndPlay(MusicPlayer& player, const char* name, const std::string& bytes) {
        return player.Open(window_, Wide(temp_.Write(name, bytes)).c_str()) == 0 && player.Play(1, 0, 0, 0, 0) == 0;
    }
    int Successes() const { return std::count(notices_.begin(), notices_.end(), WPARAM{MCI_NOTIFY_SUCCESSFUL}); }
    bool WaitForSuccess() { return WaitUntil(NOTICE_TIMEOUT_MS, [&] { return Successes() > 0; }); }
};

// The mp3 file is written frame by frame (silence); playing it needs the
// 32-bit GStreamer plugins that tools/setup installs for Wine's DirectShow.
TEST_F(MusicPlayerTest, EachKindSendsOneSuccessNotificationAtItsEnd) {
    const struct {
        const char* name;
        std::string bytes;
        DWORD deviceType;
    } cases[] = {
        {"tone.wav", WaveBytes(700), MCI_DEVTYPE_WAVEFORM_AUDIO},
        {"quiet.mp3", Mp3Bytes(600), MCI_DEVTYPE_DIGITAL_VIDEO},  // cannot tell its display window, yet opens
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        notices_.clear();
        MusicPlayer player;
        ASSERT_TRUE(OpenAndPlay(player, c.name, c.bytes));
        EXPECT_EQ(player.DeviceType(), c.deviceType);
        EXPECT_TRUE(player.IsPlaying());
        ASSERT_TRUE(WaitForSuccess()) << "no MM_MCINOTIFY arrived";
        EXPECT_EQ(notices_, (std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL}));
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_FALSE(player.IsOpen());
    }
}

TEST_F(MusicPlayerTest, LengthComesInWholeMinutesAndSeconds) {
    MusicPlayer player;
    unsigned minutes = 9, seconds = 9;
    const auto length = [&](const char* name, const std::string& bytes) {
        EXPECT_EQ(player.Open(nullptr, Wide(temp_.Write(name, bytes)).c_str()), 0u) << name;
        EXPECT_EQ(player.GetLength(0, minutes, seconds), 0u) << name;
        return std::make_pair(minutes, seconds);
    };
    EXPECT_EQ(length("minute.wav", WaveBytes(62500)), std::make_pair(1u, 2u));
    EXPECT_EQ(length("note.mid", MidiBytes(2000)), std::make_pair(0u, 2u));
    EXPECT_EQ(player.DeviceType(), static_cast<DWORD>(MCI_DEVTYPE_SEQUENCER));

    player.Close();
    EXPECT_NE(player.GetLength(0, minutes, seconds), 0u) << "nothing is open";
    EXPECT_EQ(std::make_pair(minutes, seconds), std::make_pair(0u, 0u));
}

// Notices are posted in order: once the last file has finished, a success of
// a stopped or replaced one would have arrived before it.
TEST_F(MusicPlayerTest, CloseOrOpenDuringPlayBringsNoSuccessNotification) {
    MusicPlayer stopped;
    ASSERT_TRUE(OpenAndPlay(stopped, "stopped.wav", WaveBytes(800)));
    EXPECT_EQ(stopped.Close(), 0u);
    EXPECT_FALSE(stopped.IsPlaying());

    MusicPlayer player;
    ASSERT_TRUE(OpenAndPlay(player, "replaced.wav", WaveBytes(800)));
    ASSERT_TRUE(OpenAndPlay(player, "last.wav", WaveBytes(1200)));
    ASSERT_TRUE(WaitForSuccess());
    EXPECT_EQ(Successes(), 1) << "only the last file's";
}

TEST_F(MusicPlayerTest, UnplayableFilesAreRefusedAndLeaveThePlayerClosed) {
    const std::string wave = WaveBytes(500);
    const std::string refused[] = {
        temp_.Write("truncated.wav", wave.substr(0, 30)),
        temp_.Write("text.mp3", "this is a text file, not music\r\n"),
    };
    MusicPlayer player;
    for (const std::string& path : refused) {
        ASSERT_EQ(player.Open(window_, Wide(temp_.Write("good.wav", wave)).c_str()), 0u);
        EXPECT_NE(player.Open(window_, Wide(path).c_str()), 0u) << path;
        EXPECT_FALSE(player.IsOpen()) << path;
        EXPECT_FALSE(player.IsPlaying()) << path;
        EXPECT_EQ(player.Close(), 0u) << "nothing is open";
        EXPECT_NE(player.Play(1, 0, 0, 0, 0), 0u) << "nothing to play";
    }
}

// Korean and an accented letter outside the Japanese code page and an emoji:
// the NT family opens them by their wide names; the 95/98 family, which
// names files in the code page only, refuses them and opens a plain name.
// Wine's wave device reads its file through mmioOpenW, which Wine turns into
// the code page, so there a wave file opens by a plain name only.
TEST_F(MusicPlayerTest, NamesOutsideTheCodePageOpenWhereTheSystemTakesWideNames) {
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    const struct {
        const char* name;
        std::string bytes;
        bool wideNameOpens;
    } kinds[] = {{"plain.wav", WaveBytes(300), !wine}, {"plain.mp3", Mp3Bytes(300), true}};
    MusicPlayer player;
    for (const auto& k : kinds) {
        const std::wstring plain = Wide(temp_.Write(k.name, k.bytes));
        for (const wchar_t* name : {L"\uC11C\uC6B8", L"caf\u00E9", L"\U0001F338"}) {
            const std::wstring path = Wide(temp_.Path()) + name + plain.substr(plain.size() - 4);
            ASSERT_TRUE(CopyFileW(plain.c_str(), path.c_str(), FALSE));
            for (bool win9x : {false, true}) {
                Hooks().win9xFileNames = win9x;
                if (win9x || k.wideNameOpens) {
                    EXPECT_EQ(player.Open(nullptr, path.c_str()) == 0, !win9x) << path << (win9x ? " on 95/98" : "");
                    EXPECT_EQ(player.IsOpen(), !win9x) << path;
                }
            }
            EXPECT_EQ(player.Open(nullptr, plain.c_str()), 0u) << k.name << " on 95/98";
        }
    }
}

}  // namespace
