#include "settings/saver_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_files.h"

namespace {

using S = SaverSettings;
using Field = int SaverSettings::*;

// Every stored number with its default and another value for the round trip.
const struct {
    Field field;
    int byDefault;
    int other;
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

TEST_F(SaverSettingsTest, WithoutAFileEveryFieldTakesItsDefault) {
    auto s = Loaded();
    EXPECT_EQ(std::string(s->moduleDir), ExecutableFolder());
    EXPECT_STREQ(s->backPath, "");
    for (size_t i = 0; i < sizeof kStored / sizeof kStored[0]; ++i) {
        EXPECT_EQ(s.get()->*kStored[i].field, kStored[i].byDefault) << "row " << i;
    }
    EXPECT_EQ(s->tickPeriodMs, 70);
    EXPECT_EQ(s->useElapse, 0);
    for (int color : s->customColors) {
        EXPECT_EQ(color, 0xFFFFFF);
    }
    EXPECT_EQ(s->pictureEntries.Count() + s->musicEntries.Count(), 0);
    EXPECT_FALSE(FileExists(iniPath)) << "loading must not create the file";
}

// One file per row: out-of-range values clamp to the nearer bound, flags read
// any nonzero value as one, and [Debug] UseElapse overrides the timer period.
TEST_F(SaverSettingsTest, HandWrittenValuesAreClamped) {
    const struct {
        const char* ini;
        Field field;
        int expected;
    } cases[] = {
        {"[Effect]\nScale=0\n", &S::fadeSteps, 1},
        {"[Effect]\nScale=300\n", &S::fadeSteps, 256},
        {"[Effect]\nDelay=1000\n", &S::holdTicks, 999},
        {"[Effect]\nSpeed=0\n", &S::speed, 1},
        {"[Effect]\nSpeed=9\n", &S::tickPeriodMs, 110},
        {"[Back]\nBright=-300\n", &S::backBright, -255},
        {"[Back]\nBright=300\n", &S::backBright, 255},
        {"[Back]\nBackColor=16777216\n", &S::backColor, 0xFFFFFF},
        {"[Picture]\nMaxWidth=-1\n", &S::maxWidth, 0},
        {"[Picture]\nMaxHeight=10000\n", &S::maxHeight, 9999},
        {"[Picture]\nMaskColor=-5\n", &S::maskColor, 0},
        {"[Back]\nUsePic=5\n", &S::backUsePic, 1},
        {"[Back]\nTile=-1\n", &S::backTile, 1},
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

TEST_F(SaverSettingsTest, EntriesFollowTheCountAndSkipHoles) {
    WriteIni(
        "[picture]\nCOUNT=3\n[Music]\nCount=1\n"
        "[FILELIST]\npicture0=p0.jpg\nPicture1=\nPICTURE2=p2.jpg\nPicture3=p3.jpg\nmUsIc0=m0.wav\n");
    auto s = Loaded();
    ASSERT_EQ(s->pictureEntries.Count(), 2);
    EXPECT_STREQ(s->pictureEntries.Get(0), "p0.jpg");
    EXPECT_STREQ(s->pictureEntries.Get(1), "p2.jpg");
    ASSERT_EQ(s->musicEntries.Count(), 1);
    EXPECT_STREQ(s->musicEntries.Get(0), "m0.wav");
}

// Every stored field is given a value other than its default, so that the
// load back proves Save and Load agree on each key.
TEST_F(SaverSettingsTest, SaveWritesEveryKeyInOrderAndLoadsBackTheSameRecord) {
    {
        auto s = Loaded();
        lstrcpyA(s->backPath, "D:\\\x95\x5c\\back.jpg");
        for (const auto& f : kStored) {
            s.get()->*f.field = f.other;
        }
        for (int i = 0; i < 16; ++i) {
            s->customColors[i] = i * 0x10101;
        }
        ASSERT_TRUE(s->pictureEntries.Add("C:\\Pictures"));
        ASSERT_TRUE(s->pictureEntries.Add("beside.jpg"));
        ASSERT_TRUE(s->musicEntries.Add("E:\\Music\\song.mid"));
        s->Save();
    }
    const std::string text = ReadFileBytes(iniPath);
    const char* order[] = {"[Back]", "Path=D:\\\x95\x5c\\back.jpg", "Screen=0", "UsePic=0", "Tile=0",
                           "Bright=-40", "BackColor=1193046", "[Music]", "PlayMusic=1", "Suffle=0",
                           "Count=1", "[Effect]", "Scale=5", "Delay=0", "Speed=1", "[Picture]", "Count=2",
                           "Center=1", "Suffle=0", "NoFadeout=1", "Move=0", "Stretch=1", "MaxWidth=0",
                           "MaxHeight=9999", "UseMask=1", "UseColor=1", "MaskColor=16711935", "CC0=0",
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
    for (size_t i = 0; i < sizeof kStored / sizeof kStored[0]; ++i) {
        EXPECT_EQ(back.get()->*kStored[i].field, kStored[i].other) << "row " << i;
    }
    EXPECT_STREQ(back->backPath, "D:\\\x95\x5c\\back.jpg");
    EXPECT_EQ(back->tickPeriodMs, 30);
    EXPECT_EQ(back->customColors[15], 15 * 0x10101);
    ASSERT_EQ(back->pictureEntries.Count(), 2);
    EXPECT_STREQ(back->pictureEntries.Get(1), "beside.jpg");
    ASSERT_EQ(back->musicEntries.Count(), 1);
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
