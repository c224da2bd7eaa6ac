#include "settings/media_expansion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/test_hooks.h"
#include "settings/saver_settings.h"
#include "support/test_files.h"

namespace {

const char kOmote[] = "\x95\x5c";  // 表 in code page 932; its second byte is the backslash's

// The paths in the order added: one unshuffled pass of a fresh list.
std::vector<std::string> All(MediaList& list) {
    std::vector<std::string> paths;
    for (int i = 0; i < list.Count(); ++i) {
        char path[2 * PATH_BUFFER_SIZE];
        WideCharToMultiByte(CP_ACP, 0, list.Next(false), -1, path, sizeof path, nullptr, nullptr);
        paths.push_back(path);
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

TEST_F(MediaListExpansion, PictureEntriesKeepOrderAndDuplicatesAndAFolderGivesBmpThenJpg) {
    const std::string folder = Folder(std::string("pictures") + kOmote);
    for (const char* name : {"a.jpg", "b.bmp", "C.JPG", "d.gif", "e.jpeg"}) {
        File(folder + name);
    }
    ASSERT_TRUE(CreateDirectoryA((folder + "x.bmp").c_str(), nullptr));
    File(folder + "x.bmp\\deep.bmp");
    const std::string entries[] = {folder + "b.bmp", folder.substr(0, folder.size() - 1), temp_ / "missing.jpg",
                                   Folder("empty"), temp_ / "gone\\"};
    for (const std::string& entry : entries) {
        ASSERT_TRUE(settings_.pictureEntries.Add(entry.c_str()));
    }
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    const std::vector<std::string> files = All(settings_.pictureFiles);
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(files.begin(), files.begin() + 2),
              (std::vector<std::string>{folder + "b.bmp", folder + "b.bmp"}));
    EXPECT_EQ(std::set<std::string>(files.begin() + 2, files.begin() + 4),
              (std::set<std::string>{folder + "a.jpg", folder + "C.JPG"}))
        << "the jpg files come in either order";
    EXPECT_EQ(std::vector<std::string>(files.begin() + 4, files.end()),
              (std::vector<std::string>{temp_ / "missing.jpg", temp_ / "gone\\"}))
        << "entries that are not folders stay as they are";
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

// Nothing is opened while the list is made: a music file is only proven when
// it is about to play, so one that will not play is still listed here.
TEST_F(MediaListExpansion, MusicIsListedByNameInPatternOrderAndOnlyWhenItIsOn) {
    const std::string folder = Folder("music");
    for (const char* name : {"a.wav", "b.mid", "c.mp3", "d.wma", "Track01.cda", "notes.txt"}) {
        File(folder + name, "not music");
    }
    ASSERT_TRUE(CreateDirectoryA((folder + "sub.wav").c_str(), nullptr));
    ASSERT_TRUE(settings_.musicEntries.Add((temp_ / "missing.wav").c_str()));
    ASSERT_TRUE(settings_.musicEntries.Add(folder.c_str()));
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    EXPECT_EQ(settings_.musicFiles.Count(), 0) << "PlayMusic=0";
    settings_.playMusic = 1;
    ASSERT_TRUE(ExpandMediaEntries(settings_));
    EXPECT_EQ(All(settings_.musicFiles),
              (std::vector<std::string>{temp_ / "missing.wav", folder + "a.wav", folder + "b.mid", folder + "c.mp3",
                                        folder + "d.wma", folder + "Track01.cda"}));
}

// The dialog stores a folder beside the program by its bare name; the
// current directory is somewhere else, as it usually is when the system starts
// the saver.
TEST_F(MediaListExpansion, ABareNameIsAFolderBesideTheProgram) {
    char name[64];
    wsprintfA(name, "gleamo-beside-%lu", GetCurrentProcessId());
    const std::string beside = std::string(settings_.moduleDir) + name + "\\";
    ASSERT_TRUE(CreateDirectoryA(beside.c_str(), nullptr));
    File(beside + "p.bmp");
    File(beside + "m.wav");
    ASSERT_TRUE(settings_.pictureEntries.Add(name));
    ASSERT_TRUE(settings_.musicEntries.Add(name));
    settings_.playMusic = 1;

    char previous[PATH_BUFFER_SIZE] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(temp_.Path().c_str());
    const bool expanded = ExpandMediaEntries(settings_);
    SetCurrentDirectoryA(previous);
    RemoveTree(beside);
    ASSERT_TRUE(expanded);
    EXPECT_EQ(All(settings_.pictureFiles), (std::vector<std::string>{beside + "p.bmp"}));
    EXPECT_EQ(All(settings_.musicFiles), (std::vector<std::string>{beside + "m.wav"}));
}

// A name outside the code page (서울) is kept whole where the system has the
// wide file functions; the 95/98 family would see question marks in it and
// could not open it, so there it is left out.
TEST_F(MediaListExpansion, NamesOutsideTheCodePageAreKeptWhereTheSystemTakesWideNames) {
    const std::string folder = Folder("names");
    File(folder + "a.bmp");
    ASSERT_TRUE(WriteFileBytes(folder + "x.bmp", "x"));
    ASSERT_TRUE(MoveFileW(Wide(folder + "x.bmp").c_str(), (Wide(folder) + L"\xC11C\xC6B8.bmp").c_str()));
    ASSERT_TRUE(settings_.pictureEntries.Add(folder.c_str()));
    for (const bool win9x : {false, true}) {
        Hooks().win9xFileNames = win9x;
        MediaList files;
        ASSERT_TRUE(ExpandEntries(settings_.pictureEntries, settings_.moduleDir, PictureFolderRules(settings_),
                                  files));
        std::set<std::wstring> names;
        for (int i = files.Count(); i > 0; --i) {
            names.insert(files.Next(false));
        }
        std::set<std::wstring> expected = {Wide(folder + "a.bmp")};
        if (!win9x) {
            expected.insert(Wide(folder) + L"\xC11C\xC6B8.bmp");
        }
        EXPECT_EQ(names, expected) << "95/98: " << win9x;
    }
}

}  // namespace
