// A window, a settings record and a layer for driving the engine's steps.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "imaging/slide_layer.h"
#include "settings/saver_settings.h"
#include "support/test_files.h"

class EngineFixture : public testing::Test {
protected:
    void SetUp() override {
        settings = std::make_unique<SaverSettings>("engine-test-unused");
        lstrcpyA(settings->moduleDir, folder.Path().c_str());
        MakeWindow(640, 480);
    }
    void TearDown() override {
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }

    void MakeWindow(int width, int height) {
        if (window != nullptr) {
            DestroyWindow(window);
        }
        window = CreateWindowExA(0, "STATIC", "engine", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(window, nullptr);
    }

    COLORREF BackgroundPixel(int x, int y) { return GetPixel(layer.BackgroundDc(), x, y); }
    std::string Write(const std::string& name, const std::string& bytes) { return folder.Write(name, bytes); }

    TempFolder folder;
    std::unique_ptr<SaverSettings> settings;
    SlideLayer layer;
    HWND window = nullptr;
};
