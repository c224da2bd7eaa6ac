#include "engine/slideshow_window.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/saver_window.h"
#include "support/test_files.h"

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
    }

    void Open(const std::string& settings) {
        ASSERT_TRUE(WriteFileBytes(iniPath, settings));
        window = CreateSaverWindow(nullptr);
        ASSERT_NE(window, nullptr);
    }

    std::string iniPath = ExecutableFolder() + "gleamo.ini";
    HWND window = nullptr;
};

TEST_F(SlideshowWindow, WithoutPictureEntriesNoTimerRuns) {
    Open("[Back]\nScreen=0\nUsePic=0\n");
    EXPECT_EQ(SlideshowState().timerId, 0u);
    EXPECT_DOUBLE_EQ(SlideshowState().previewScale, 1.0);
}

}  // namespace
