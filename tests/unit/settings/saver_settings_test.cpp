#include "settings/saver_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_files.h"

namespace {

// Each test has its own settings file beside the test executable, where the
// settings look for it, and removes it afterwards.
class SaverSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        baseName = std::string("settings-") + testing::UnitTest::GetInstance()->current_test_info()->name();
        iniPath = ExecutableFolder() + baseName + ".ini";
        DeleteFileA(iniPath.c_str());
    }
    void TearDown() override { DeleteFileA(iniPath.c_str()); }

    std::unique_ptr<SaverSettings> Loaded(bool skipExpansion = true) {
        auto settings = std::make_unique<SaverSettings>(baseName.c_str());
        EXPECT_TRUE(settings->Load(skipExpansion));
        return settings;
    }

    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteFileBytes(iniPath, text)); }

    std::string baseName;
    std::string iniPath;
};

TEST_F(SaverSettingsTest, FindsItsFileBesideTheProgram) {
    SaverSettings settings(baseName.c_str());
    EXPECT_EQ(std::string(settings.moduleDir), ExecutableFolder());
    EXPECT_EQ(std::string(settings.iniPath), iniPath);
    EXPECT_EQ(settings.pictureEntries.Count() + settings.musicEntries.Count(), 0);
}

TEST_F(SaverSettingsTest, WithoutAFileEveryFieldTakesItsDefault) {
    auto s = Loaded();
    EXPECT_STREQ(s->backPath, "");
    EXPECT_EQ(s->backScreen, 1);
    EXPECT_EQ(s->backUsePic, 1);
    EXPECT_EQ(s->backTile, 1);
    EXPECT_EQ(s->backBright, 0);
    EXPECT_EQ(s->backColor, 0);
    EXPECT_EQ(s->playMusic, 0);
    EXPECT_EQ(s->musicShuffle, 1);
    EXPECT_EQ(s->fadeSteps, 64);
    EXPECT_EQ(s->holdTicks, 40);
    EXPECT_EQ(s->speed, 3);
    EXPECT_EQ(s->tickPeriodMs, 70);
    EXPECT_EQ(s->center, 0);
    EXPECT_EQ(s->pictureShuffle, 1);
    EXPECT_EQ(s->noFadeout, 0);
    EXPECT_EQ(s->move, 1);
    EXPECT_EQ(s->randomZoom, 0);
    EXPECT_EQ(s->maxWidth, 640);
    EXPECT_EQ(s->maxHeight, 640);
    EXPECT_EQ(s->useMask, 0);
    EXPECT_EQ(s->useColor, 0);
    EXPECT_EQ(s->maskColor, 0);
    for (int color : s->customColors) {
        EXPECT_EQ(color, 0xFFFFFF);
    }
    EXPECT_EQ(s->pictureEntries.Count(), 0);
    EXPECT_EQ(s->musicEntries.Count(), 0);
    EXPECT_EQ(s->useElapse, 0);
    EXPECT_FALSE(FileExists(iniPath)) << "loading must not create the file";
}

TEST_F(SaverSettingsTest, OutOfRangeValuesAreClampedToTheNearerBound) {
    WriteIni(
        "[Effect]\nScale=0\nDelay=1000\nSpeed=9\n"
        "[Back]\nBright=-300\nBackColor=16777216\n"
        "[Picture]\nMaxWidth=-1\nMaxHeight=10000\nMaskColor=-5\nCC3=-7\n");
    auto s = Loaded();
    EXPECT_EQ(s->fadeSteps, 1);
    EXPECT_EQ(s->holdTicks, 999);
    EXPECT_EQ(s->speed, 5);
    EXPECT_EQ(s->tickPeriodMs, 110);
    EXPECT_EQ(s->backBright, -255);
    EXPECT_EQ(s->backColor, 0xFFFFFF);
    EXPECT_EQ(s->maxWidth, 0);
    EXPECT_EQ(s->maxHeight, 9999);
    EXPECT_EQ(s->maskColor, 0);
    EXPECT_EQ(s->customColors[3], -7) << "custom colours are not clamped";

    WriteIni("[Effect]\nScale=300\nSpeed=0\n[Back]\nBright=300\n");
    auto t = Loaded();
    EXPECT_EQ(t->fadeSteps, 256);
    EXPECT_EQ(t->speed, 1);
    EXPECT_EQ(t->tickPeriodMs, 30);
    EXPECT_EQ(t->backBright, 255);
}

TEST_F(SaverSettingsTest, FlagsReadAnyNonzeroValueAsOne) {
    WriteIni("[Back]\nScreen=0\nUsePic=5\nTile=-1\n[Picture]\nCenter=2\nMove=0\nStretch=7\n");
    auto s = Loaded();
    EXPECT_EQ(s->backScreen, 0);
    EXPECT_EQ(s->backUsePic, 1);
    EXPECT_EQ(s->backTile, 1);
    EXPECT_EQ(s->center, 1);
    EXPECT_EQ(s->move, 0);
    EXPECT_EQ(s->randomZoom, 1);
}

TEST_F(SaverSettingsTest, NamesWrittenByHandInAnyCaseAreFound) {
    WriteIni(
        "[bAcK]\npAtH=C:\\walls\\sky.bmp\nBRIGHT=-40\n"
        "[MUSIC]\nplaymusic=1\ncount=1\n"
        "[picture]\nCOUNT=2\nmaxwidth=800\n"
        "[FILELIST]\npicture0=C:\\a.jpg\nPICTURE1=C:\\b.jpg\nmUsIc0=C:\\c.mid\n");
    auto s = Loaded();
    EXPECT_STREQ(s->backPath, "C:\\walls\\sky.bmp");
    EXPECT_EQ(s->backBright, -40);
    EXPECT_EQ(s->playMusic, 1);
    EXPECT_EQ(s->maxWidth, 800);
    ASSERT_EQ(s->pictureEntries.Count(), 2);
    EXPECT_STREQ(s->pictureEntries.Get(0), "C:\\a.jpg");
    EXPECT_STREQ(s->pictureEntries.Get(1), "C:\\b.jpg");
    ASSERT_EQ(s->musicEntries.Count(), 1);
    EXPECT_STREQ(s->musicEntries.Get(0), "C:\\c.mid");
}

TEST_F(SaverSettingsTest, EntriesFollowTheCountAndSkipHoles) {
    WriteIni(
        "[Picture]\nCount=3\n"
        "[Music]\nCount=-2\n"
        "[FileList]\nPicture0=p0.jpg\nPicture1=\nPicture2=p2.jpg\nPicture3=p3.jpg\nMusic0=m0.wav\n");
    auto s = Loaded();
    ASSERT_EQ(s->pictureEntries.Count(), 2);
    EXPECT_STREQ(s->pictureEntries.Get(0), "p0.jpg");
    EXPECT_STREQ(s->pictureEntries.Get(1), "p2.jpg");
    EXPECT_EQ(s->musicEntries.Count(), 0) << "a negative count reads no entries";
}

TEST_F(SaverSettingsTest, SaveWritesEveryKeyInOrderAndLoadsBackTheSameRecord) {
    {
        auto s = Loaded();
        lstrcpyA(s->backPath, "D:\\\x95\x5c\\back.jpg");
        s->backScreen = 0;
        s->backBright = -40;
        s->backColor = 0x123456;
        s->playMusic = 1;
        s->musicShuffle = 0;
        s->fadeSteps = 5;
        s->holdTicks = 0;
        s->speed = 1;
        s->center = 1;
        s->randomZoom = 1;
        s->maxWidth = 0;
        s->useMask = 1;
        s->useColor = 1;
        s->maskColor = 0xFF00FF;
        for (int i = 0; i < 16; ++i) {
            s->customColors[i] = i * 0x10101;
        }
        ASSERT_TRUE(s->pictureEntries.Add("C:\\Pictures"));
        ASSERT_TRUE(s->pictureEntries.Add("beside.jpg"));
        ASSERT_TRUE(s->musicEntries.Add("E:\\Music\\song.mid"));
        s->Save();
    }
    const std::string text = ReadFileBytes(iniPath);
    const char* order[] = {"[Back]", "Path=D:\\\x95\x5c\\back.jpg", "Screen=0", "UsePic=1", "Tile=1",
                           "Bright=-40", "BackColor=1193046", "[Music]", "PlayMusic=1", "Suffle=0",
                           "Count=1", "[Effect]", "Scale=5", "Delay=0", "Speed=1", "[Picture]", "Count=2",
                           "Center=1", "Suffle=1", "NoFadeout=0", "Move=1", "Stretch=1", "MaxWidth=0",
                           "MaxHeight=640", "UseMask=1", "UseColor=1", "MaskColor=16711935", "CC0=0",
                           "CC15=986895", "[FileList]", "Picture0=C:\\Pictures", "Picture1=beside.jpg",
                           "Music0=E:\\Music\\song.mid"};
    size_t at = 0;
    for (const char* line : order) {
        const size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " missing or out of order in\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("Debug"), std::string::npos);
    EXPECT_EQ(text.find("TickPeriod"), std::string::npos);

    auto back = Loaded();
    EXPECT_STREQ(back->backPath, "D:\\\x95\x5c\\back.jpg");
    EXPECT_EQ(back->backScreen, 0);
    EXPECT_EQ(back->backBright, -40);
    EXPECT_EQ(back->backColor, 0x123456);
    EXPECT_EQ(back->musicShuffle, 0);
    EXPECT_EQ(back->fadeSteps, 5);
    EXPECT_EQ(back->holdTicks, 0);
    EXPECT_EQ(back->tickPeriodMs, 30);
    EXPECT_EQ(back->maskColor, 0xFF00FF);
    EXPECT_EQ(back->customColors[15], 15 * 0x10101);
    ASSERT_EQ(back->pictureEntries.Count(), 2);
    EXPECT_STREQ(back->pictureEntries.Get(1), "beside.jpg");
    ASSERT_EQ(back->musicEntries.Count(), 1);
}

TEST_F(SaverSettingsTest, ShrunkenListsLeaveOldKeysThatLoadingIgnores) {
    WriteIni("[Picture]\nCount=4\n[FileList]\nPicture0=a\nPicture1=b\nPicture2=c\nPicture3=d\n");
    {
        auto s = Loaded();
        s->pictureEntries.Clear();
        ASSERT_TRUE(s->pictureEntries.Add("z"));
        s->Save();
    }
    const std::string text = ReadFileBytes(iniPath);
    EXPECT_NE(text.find("Picture3=d"), std::string::npos) << text;
    auto back = Loaded();
    ASSERT_EQ(back->pictureEntries.Count(), 1);
    EXPECT_STREQ(back->pictureEntries.Get(0), "z");
}

TEST_F(SaverSettingsTest, SaveDoesNotClampButTheNextLoadDoes) {
    {
        auto s = Loaded();
        s->fadeSteps = 1000;
        s->Save();
    }
    EXPECT_NE(ReadFileBytes(iniPath).find("Scale=1000"), std::string::npos);
    EXPECT_EQ(Loaded()->fadeSteps, 256);
}

TEST_F(SaverSettingsTest, DebugSectionOverridesTheTimerPeriod) {
    WriteIni("[Effect]\nSpeed=2\n[Debug]\nUseElapse=1\n");
    auto noElapse = Loaded();
    EXPECT_EQ(noElapse->useElapse, 1);
    EXPECT_EQ(noElapse->tickPeriodMs, 1);
    EXPECT_EQ(noElapse->speed, 2);

    WriteIni("[Debug]\nUseElapse=1\nElapse=5000\n");
    EXPECT_EQ(Loaded()->tickPeriodMs, 1000);

    WriteIni("[Debug]\nUseElapse=1\nElapse=15\n");
    EXPECT_EQ(Loaded(false)->tickPeriodMs, 15) << "the override applies to the running saver too";

    WriteIni("[Effect]\nSpeed=4\n[Debug]\nUseElapse=0\nElapse=15\n");
    auto off = Loaded();
    EXPECT_EQ(off->useElapse, 0);
    EXPECT_EQ(off->tickPeriodMs, 90);
}

TEST_F(SaverSettingsTest, OverlongEntriesAreCutToAPathLengthNotOverrun) {
    const std::string longEntry(600, 'q');
    WriteIni("[Picture]\nCount=1\n[FileList]\nPicture0=" + longEntry + "\n[Back]\nPath=" + longEntry + "\n");
    auto s = Loaded();
    ASSERT_EQ(s->pictureEntries.Count(), 1);
    EXPECT_EQ(std::string(s->pictureEntries.Get(0)), std::string(259, 'q'));
    EXPECT_EQ(std::string(s->backPath), std::string(259, 'q'));
}

}  // namespace
