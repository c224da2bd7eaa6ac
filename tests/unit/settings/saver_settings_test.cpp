#include "settings/saver_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace {

using S = SaverSettings;
using Field = int SaverSettings::*;

// Every stored number with its default and another value for the round trip.
const struct {
    Field field;
    int byDefault, other;
} kStored[] = {
    {&S::backScreen, 1, 0},        {&S::backUsePic, 1, 0},    {&S::backTile, 1, 0},      {&S::backBright, 0, -40},
    {&S::backColor, 0, 0x123456},  {&S::playMusic, 0, 1},     {&S::musicShuffle, 1, 0},  {&S::fadeSteps, 64, 5},
    {&S::holdTicks, 40, 0},        {&S::speed, 3, 1},         {&S::center, 0, 1},        {&S::pictureShuffle, 1, 0},
    {&S::noFadeout, 0, 1},         {&S::move, 1, 0},          {&S::randomZoom, 0, 1},    {&S::maxWidth, 640, 0},
    {&S::maxHeight, 640, 9999},    {&S::useMask, 0, 1},       {&S::useColor, 0, 1},      {&S::maskColor, 0, 0xFF00FF},
};

// Each test has its own settings file beside the test executable, where the
// settings look for it, and removes it afterwards.
class SaverSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        baseName = std::string("settings-") + testing::UnitTest::GetInstance()->current_test_info()->name();
        iniPath = ExecutableFolder() + baseName + ".ini";
        DeleteFileA(iniPath.c_str());
    }
    void TearDown() override {
        SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(iniPath.c_str());
        RemoveDirectoryA(iniPath.c_str());
        DeleteFileA(CopyPath().c_str());
    }

    std::unique_ptr<SaverSettings> Loaded(bool skipExpansion = true) {
        auto settings = std::make_unique<SaverSettings>(baseName.c_str());
        EXPECT_TRUE(settings->Load(skipExpansion));
        return settings;
    }

    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteFileBytes(iniPath, text)); }
    // Where a save writes before it replaces the file.
    std::string CopyPath() const { return ExecutableFolder() + baseName + ".new"; }

    std::string baseName, iniPath;
};

TEST_F(SaverSettingsTest, WithoutAFileEveryFieldTakesItsDefault) {
    auto s = Loaded();
    EXPECT_EQ(std::string(s->moduleDir), ExecutableFolder());
    EXPECT_STREQ(s->backPath, "");
    for (size_t i = 0; i < sizeof kStored / sizeof kStored[0]; ++i) {
        EXPECT_EQ(s.get()->*kStored[i].field, kStored[i].byDefault) << "row " << i;
    }
    EXPECT_EQ(s->tickPeriodMs, 70);
    EXPECT_EQ(s->useElapse, 0);
    EXPECT_EQ(std::vector<int>(std::begin(s->customColors), std::end(s->customColors)), std::vector<int>(16, 0xFFFFFF));
    EXPECT_EQ(s->pictureEntries.Count() + s->musicEntries.Count(), 0);
    EXPECT_FALSE(FileExists(iniPath)) << "loading must not create the file";
}

// One file per row: out-of-range values clamp to the nearer bound (one row
// per range shape; the bounds themselves are the table's), an empty value is
// the default, text that is no number reads as 0, flags read any nonzero
// value as one, and [Debug] UseElapse overrides the timer period.
TEST_F(SaverSettingsTest, HandWrittenValuesAreClamped) {
    const struct {
        const char* ini;
        Field field;
        int expected;
    } cases[] = {
        {"[Effect]\nScale=0\n", &S::fadeSteps, 1},                 {"[Effect]\nScale=300\n", &S::fadeSteps, 256},
        {"[Effect]\nScale=\n", &S::fadeSteps, 64},                 {"[Effect]\nDelay=abc\n", &S::holdTicks, 0},
        {"[Effect]\nSpeed=9\n", &S::tickPeriodMs, 110},            {"[Back]\nBright=-300\n", &S::backBright, -255},
        {"[Back]\nBackColor=16777216\n", &S::backColor, 0xFFFFFF}, {"[Back]\nTile=-1\n", &S::backTile, 1},
        {"[Picture]\nMaxHeight=10000\n", &S::maxHeight, 9999},     {"[Picture]\nStretch=5\n", &S::randomZoom, 1},
        {"[Effect]\nSpeed=2\n[Debug]\nUseElapse=1\n", &S::tickPeriodMs, 1},
        {"[Debug]\nUseElapse=1\nElapse=5000\n", &S::tickPeriodMs, 1000},
        {"[Effect]\nSpeed=4\n[Debug]\nUseElapse=0\nElapse=15\n", &S::tickPeriodMs, 90},
    };
    for (const auto& c : cases) {
        WriteIni(c.ini);
        EXPECT_EQ(Loaded().get()->*c.field, c.expected) << c.ini;
    }
    WriteIni("[Debug]\nUseElapse=1\nElapse=15\n");
    EXPECT_EQ(Loaded(false)->tickPeriodMs, 15) << "the override applies to the running saver too";
}

// Entries are looked up among the key names the section holds (an absurd
// count is the end-to-end suite's); they must come out as a lookup of every
// number below the count would give them. The other keys make the list of
// names far longer than a first guess at its size. An overlong entry or
// background path is cut to a path's length, not read past its buffer.
TEST_F(SaverSettingsTest, EntriesFollowTheCountAndSkipHoles) {
    std::string otherKeys;
    for (int i = 0; i < 1000; ++i) {
        otherKeys += "Other" + std::to_string(i) + "=x\n";
    }
    const std::string overlong(600, 'q');
    WriteIni("[picture]\nCOUNT=3\n[Music]\nCount=8\n[Back]\nPath=" + overlong + "\n[FILELIST]\n" + otherKeys +
             "PICTURE2=" + overlong + "\npicture0=p0.jpg\nPicture1=\nPicture3=p3.jpg\nPicture01=p01.jpg\n"
             "mUsIc7=m7.wav\nmusic0=m0.wav\nMusic7=second m7.wav\nMusic8=m8.wav\n");
    auto s = Loaded();
    ASSERT_EQ(s->pictureEntries.Count(), 2);
    EXPECT_STREQ(s->pictureEntries.Get(0), "p0.jpg");
    EXPECT_EQ(std::string(s->pictureEntries.Get(1)), std::string(MAX_PATH_CHARS, 'q'));
    EXPECT_EQ(std::string(s->backPath), std::string(MAX_PATH_CHARS, 'q'));
    ASSERT_EQ(s->musicEntries.Count(), 2);
    EXPECT_STREQ(s->musicEntries.Get(0), "m0.wav");
    EXPECT_STREQ(s->musicEntries.Get(1), "m7.wav") << "a key written twice is read once, by its first value";
}

// Every stored field is given a value other than its default. The save goes
// over a file of an earlier save with hand-set keys, and a copy left by an
// interrupted save: the bytes must be exactly what writing each key into the
// file gives, the hand-set Debug section and the stale entry kept. (That Load
// reads these keys back, the dialog suite shows with a file of this form.)
TEST_F(SaverSettingsTest, SaveWritesEveryKeyInOrderOverTheFile) {
    WriteIni("; by hand\r\n[Debug]\r\nUseElapse=1\r\n[Picture]\r\nCount=3\r\n"
             "[FileList]\r\nPicture0=old.jpg\r\nPicture2=stale.jpg\r\n");
    ASSERT_TRUE(WriteFileBytes(CopyPath(), "[Back]\r\nPath=left over\r\n"));
    {
        auto s = Loaded();
        lstrcpyA(s->backPath, "D:\\\x95\x5c\\back.jpg");
        for (const auto& f : kStored) {
            s.get()->*f.field = f.other;
        }
        for (int i = 0; i < 16; ++i) {
            s->customColors[i] = i * 0x10101;
        }
        s->pictureEntries.Clear();
        ASSERT_TRUE(s->pictureEntries.Add("C:\\Pictures"));
        ASSERT_TRUE(s->pictureEntries.Add("beside.jpg"));
        ASSERT_TRUE(s->musicEntries.Add("E:\\Music\\song.mid"));
        ASSERT_TRUE(s->Save());
    }
    std::string colors;
    for (int i = 0; i < 16; ++i) {
        colors += "CC" + std::to_string(i) + "=" + std::to_string(i * 0x10101) + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes(iniPath),
              "; by hand\r\n[Debug]\r\nUseElapse=1\r\n"
              "[Picture]\r\nCount=2\r\nCenter=1\r\nSuffle=0\r\nNoFadeout=1\r\nMove=0\r\nStretch=1\r\n"
              "MaxWidth=0\r\nMaxHeight=9999\r\nUseMask=1\r\nUseColor=1\r\nMaskColor=16711935\r\n" +
                  colors +
                  "[FileList]\r\nPicture0=C:\\Pictures\r\nPicture2=stale.jpg\r\nPicture1=beside.jpg\r\n"
                  "Music0=E:\\Music\\song.mid\r\n"
                  "[Back]\r\nPath=D:\\\x95\x5c\\back.jpg\r\nScreen=0\r\nUsePic=0\r\nTile=0\r\nBright=-40\r\n"
                  "BackColor=1193046\r\n"
                  "[Music]\r\nPlayMusic=1\r\nSuffle=0\r\nCount=1\r\n"
                  "[Effect]\r\nScale=5\r\nDelay=0\r\nSpeed=1\r\n");
    EXPECT_FALSE(FileExists(CopyPath())) << "the copy replaced the file";
}

// The opt-in flags read 0 when absent and 1 for any nonzero value. Saved on,
// each is written as 1 in its own section; saved off again, it is taken out
// and the file is what a save that never turned it on left.
TEST_F(SaverSettingsTest, OptInFlagsAreStoredOnlyWhileOn) {
    const struct {
        Field field;
        const char* section;
        const char* key;
    } flags[] = {
        {&S::pictureSubFolders, "[Picture]", "SubFolders"},
        {&S::allFormats, "[Picture]", "AllFormats"},
        {&S::caption, "[Picture]", "Caption"},
        {&S::musicSubFolders, "[Music]", "SubFolders"},
    };
    for (const auto& f : flags) {
        WriteIni("[Picture]\r\nCenter=1\r\n[Music]\r\nPlayMusic=1\r\n");
        ASSERT_TRUE(Loaded()->Save());
        const std::string off = ReadFileBytes(iniPath);
        auto s = Loaded();
        EXPECT_EQ(s.get()->*f.field, 0) << f.key;
        s.get()->*f.field = 1;
        ASSERT_TRUE(s->Save());
        std::string on = ReadFileBytes(iniPath);
        const size_t section = on.find(f.section), at = on.find(std::string("\n") + f.key + "=1\r\n", section);
        ASSERT_LT(at, on.find("\n[", section)) << f.section << f.key << " in\n" << on;
        WriteIni(on.replace(at + 1 + lstrlenA(f.key), 2, "=2"));
        s = Loaded();
        EXPECT_EQ(s.get()->*f.field, 1) << f.key;
        s.get()->*f.field = 0;
        ASSERT_TRUE(s->Save());
        EXPECT_EQ(ReadFileBytes(iniPath), off) << f.section << f.key;
    }
}

TEST_F(SaverSettingsTest, ASaveThatCannotWriteTheFileSaysSoAndLeavesItUntouched) {
    const std::string before = "[Effect]\r\nScale=7\r\n";
    WriteIni(before);
    ASSERT_TRUE(SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Loaded()->Save()) << "read-only file";
    EXPECT_EQ(ReadFileBytes(iniPath), before);
    EXPECT_FALSE(FileExists(CopyPath()));

    SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(iniPath.c_str());
    ASSERT_TRUE(CreateDirectoryA(iniPath.c_str(), nullptr));
    EXPECT_FALSE(Loaded()->Save()) << "a folder in the file's place";
    EXPECT_NE(GetFileAttributesA(iniPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FileExists(CopyPath()));

    // A program path too long for its settings file leaves the settings without one.
    SaverSettings pathless(std::string(PATH_BUFFER_SIZE, 'x').c_str());
    ASSERT_STREQ(pathless.iniPath, "");
    EXPECT_FALSE(pathless.Save());
}

}  // namespace
