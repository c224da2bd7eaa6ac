#include "engine/slideshow_window.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/saver_window.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

// The saver window made in this process, with gleamo.ini beside the test
// executable as the saver reads it beside itself.
class SlideshowWindow : public testing::Test {
protected:
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        DeleteFileA(iniPath.c_str());
        DeleteFileA(picturePath.c_str());
    }

    void Open(const std::string& settings, HWND parent = nullptr) {
        ASSERT_TRUE(WriteFileBytes(iniPath, settings));
        window = CreateSaverWindow(parent);
        ASSERT_NE(window, nullptr);
    }

    std::string iniPath = ExecutableFolder() + "gleamo.ini";
    std::string picturePath = ExecutableFolder() + "engine-window-test.bmp";
    HWND window = nullptr;
};

TEST_F(SlideshowWindow, WithoutPictureEntriesNoTimerRuns) {
    Open("[Back]\nScreen=0\nUsePic=0\n");
    EXPECT_EQ(SlideshowState().timerId, 0u);
    EXPECT_DOUBLE_EQ(SlideshowState().previewScale, 1.0);
}


TEST_F(SlideshowWindow, TicksBringThePictureInAndPaintItHeld) {
    ASSERT_TRUE(WriteFileBytes(picturePath, SolidBmp24(64, 48, RGB(200, 10, 10))));
    Open("[Back]\nScreen=0\nUsePic=0\n[Effect]\nScale=1\nDelay=999\n[Picture]\nCenter=1\nMove=0\nCount=1\n"
         "[FileList]\nPicture0=engine-window-test.bmp\n[Debug]\nUseElapse=1\nElapse=10\n");
    EXPECT_NE(SlideshowState().timerId, 0u);
    ASSERT_TRUE(WaitUntil(5000, [] { return SlideshowState().hasPicture; })) << "no tick prepared the picture";
    EXPECT_EQ(SlideshowState().fadeLevel, 0);
    EXPECT_EQ(SlideshowState().posX, (GetSystemMetrics(SM_CXSCREEN) - 64) / 2);
}

}  // namespace
