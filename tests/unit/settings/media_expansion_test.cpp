#include "settings/media_expansion.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/saver_settings.h"
#include "support/music_files.h"
#include "support/test_files.h"

namespace {

const char kOmote[] = "\x95\x5c";  // 表 in code page 932; its second byte is the backslash's

// The paths in the order added: one unshuffled pass of a fresh list.
std::vector<std::string> All(MediaList& list) {
    std::vector<std::string> paths;
    for (int i = 0; i < list.Count(); ++i) {
        paths.push_back(list.Next(false));
    }
    return paths;
}

class MediaListExpansion : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page"; }

    std::string Folder(const std::string& name) {
        const std::string folder = temp_ / name;
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        return folder + "\\";
    }
    static void File(const std::string& path, const std::string& bytes = "x") {
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
    }

    TempFolder temp_;
    SaverSettings settings_{"gleamo"};
};

TEST_F(MediaListExpansion, AFolderGivesItsBmpFilesThenItsJpgFilesOneLevelDeep) {
    const std::string folder = Folder(std::string("pictures") + kOmote);
    File(folder + "a.jpg");
    File(folder + "b.bmp");
    File(folder + "C.JPG");
    File(folder + "d.gif");
    File(folder + "e.jpeg");
    const std::string sub = folder + "x.bmp";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    File(sub + "\\deep.bmp");

    ASSERT_TRUE(settings_.pictureEntries.Add(folder.substr(0, folder.size() - 1).c_str()));
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    const std::vector<std::string> files = All(settings_.pictureFiles);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], folder + "b.bmp");
    const bool jpgsInEitherOrder = (files[1] == folder + "a.jpg" && files[2] == folder + "C.JPG") ||
                                   (files[1] == folder + "C.JPG" && files[2] == folder + "a.jpg");
    EXPECT_TRUE(jpgsInEitherOrder) << files[1] << " " << files[2];
}

TEST_F(MediaListExpansion, PictureEntriesKeepTheirOrderDuplicatesAndMissingFiles) {
    const std::string folder = Folder("pics");
    File(folder + "one.bmp");
    ASSERT_TRUE(settings_.pictureEntries.Add((folder + "one.bmp").c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add(folder.c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add((temp_ / "missing.jpg").c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add(Folder("empty").c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add((temp_ / "gone\\").c_str()));
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    EXPECT_EQ(All(settings_.pictureFiles), (std::vector<std::string>{folder + "one.bmp", folder + "one.bmp",
                                                                      temp_ / "missing.jpg", temp_ / "gone\\"}));
}

TEST_F(MediaListExpansion, ARelativeFolderIsTakenFromTheCurrentDirectory) {
    const std::string folder = Folder("rel");
    File(folder + "r.bmp");
    char previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(temp_.Path().c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add("rel"));
    const bool expanded = ExpandMediaEntries(settings_);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(expanded);
    EXPECT_EQ(All(settings_.pictureFiles), (std::vector<std::string>{folder + "r.bmp"}));
}

TEST_F(MediaListExpansion, FilesWhoseFullPathWouldNotFitAreSkipped) {
    // A folder that leaves room for a short name in it but not for a long one.
    const int room = MAX_PATH_CHARS - static_cast<int>(temp_.Path().size()) - 12;
    ASSERT_GT(room, 8);
    const std::string folder = Folder(std::string(static_cast<size_t>(room), 'f'));
    File(folder + "s.bmp");
    // The ANSI calls stop at the path limit; the long name is made through
    // the wide ones with their extended-length prefix.
    const std::string tooLong = folder + "a-much-longer-name.bmp";
    wchar_t wide[2 * PATH_BUFFER_SIZE] = L"\\\\?\\";
    ASSERT_NE(MultiByteToWideChar(CP_ACP, 0, tooLong.c_str(), -1, wide + 4, 2 * PATH_BUFFER_SIZE - 4), 0);
    HANDLE file = CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    ASSERT_TRUE(settings_.pictureEntries.Add(folder.c_str()));
    const bool expanded = ExpandMediaEntries(settings_);
    DeleteFileW(wide);
    ASSERT_TRUE(expanded);
    EXPECT_EQ(All(settings_.pictureFiles), (std::vector<std::string>{folder + "s.bmp"}));
}

TEST_F(MediaListExpansion, OnlyMusicThatOpensIsKeptInPatternOrder) {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
    const std::string folder = Folder(std::string("music") + kOmote);
    File(folder + "song.wav", WaveBytes(200));
    File(folder + "tune.mid", MidiBytes(200));
    File(folder + "quiet.mp3", Mp3Bytes(200));
    File(folder + "broken.wav", WaveBytes(200).substr(0, 30));
    File(folder + "text.mp3", "not music at all\r\n");
    File(folder + "notes.txt", WaveBytes(200));
    ASSERT_TRUE(CreateDirectoryA((folder + "sub.wav").c_str(), nullptr));
    const std::string single = temp_ / "single.wav";
    File(single, WaveBytes(200));
    const std::string truncated = temp_ / "truncated.wav";
    File(truncated, WaveBytes(200).substr(0, 30));

    ASSERT_TRUE(settings_.musicEntries.Add(truncated.c_str()));
    ASSERT_TRUE(settings_.musicEntries.Add(folder.c_str()));
    ASSERT_TRUE(settings_.musicEntries.Add((temp_ / "missing.wav").c_str()));
    ASSERT_TRUE(settings_.musicEntries.Add(single.c_str()));
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    EXPECT_EQ(All(settings_.musicFiles),
              (std::vector<std::string>{folder + "song.wav", folder + "tune.mid", folder + "quiet.mp3", single}));
    EXPECT_EQ(settings_.pictureFiles.Count(), 0);
}

}  // namespace
