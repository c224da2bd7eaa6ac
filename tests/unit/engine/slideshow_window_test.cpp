#include "engine/slideshow_window.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/gdi_guards.h"
#include "base/test_hooks.h"
#include "engine/slide_loader.h"
#include "support/music_files.h"
#include "support/process_run.h"
#include "support/test_files.h"
#include "support/test_pictures.h"

namespace {

constexpr char CLASS_NAME[] = "GleamoSlideshowTestWindow";
constexpr int CLIENT_W = 640, CLIENT_H = 480;
constexpr DWORD RUN_LIMIT_MS = 10000;
constexpr COLORREF BACK = RGB(0x20, 0x40, 0x60), KEY = RGB(255, 0, 255), RED = RGB(220, 0, 0), GREEN = RGB(0, 200, 0);
// The engine's message box has no class of its own: it is a dialog.
constexpr char DIALOG_CLASS[] = "#32770";

COLORREF WindowPixel(HWND window, int x, int y) { return GetPixel(ScopedClientDc(window).Get(), x, y); }

// What the window showed after each tick it handled, painted at once.
struct TickSeen {
    int fadeLevel, pictureWidth;
    COLORREF centre;
};
std::vector<TickSeen> ticksSeen;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = SlideshowWindowProc(window, message, wParam, lParam);
    if (message == WM_SLIDESHOW_TICK) {
        UpdateWindow(window);
        const SlideshowView view = SlideshowState();
        ticksSeen.push_back({view.fadeLevel, view.pictureWidth, WindowPixel(window, CLIENT_W / 2, CLIENT_H / 2)});
    }
    return result;
}

// Presses OK on a shown "Gleamo" message box and counts it; run from a
// thread timer, which the box's own modal loop runs.
int boxesClosed = 0;
void CALLBACK CloseErrorBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA(DIALOG_CLASS, "Gleamo");
    if (box != nullptr && IsWindowVisible(box)) {
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        ++boxesClosed;
    }
}

MMRESULT WINAPI RefuseTimerPeriod(UINT) { return TIMERR_NOCANDO; }

// gleamo.ini: a BACK background, centred still pictures in list order, on a
// timer slow enough that only the tests' own ticks count unless a test waits
// for it. The file list comes last, so that a test may add music entries.
std::string Settings(const std::vector<std::string>& files, const std::string& effect = "Scale=1\nDelay=0\n",
                     const std::string& picture = "", const std::string& music = "", int elapseMs = 1000) {
    std::string text = "[Back]\nScreen=0\nUsePic=0\nBackColor=" + std::to_string(BACK) + "\n[Effect]\n" + effect +
                       "[Picture]\nCenter=1\nMove=0\nSuffle=0\nMaxWidth=0\nMaxHeight=0\nCount=" +
                       std::to_string(files.size()) + "\n" + picture + music +
                       "[Debug]\nUseElapse=1\nElapse=" + std::to_string(elapseMs) + "\n[FileList]\n";
    for (size_t i = 0; i < files.size(); ++i) {
        text += "Picture" + std::to_string(i) + "=" + files[i] + "\n";
    }
    return text;
}

// The picture shown over BACK at a fade level. The packed blend divides by 256
// and the byte-wise one by 255; they differ by at most one.
void ExpectBlend(COLORREF shown, COLORREF picture, int level) {
    for (int shift : {0, 8, 16}) {
        const int p = picture >> shift & 0xFF, b = BACK >> shift & 0xFF;
        EXPECT_NEAR(shown >> shift & 0xFF, p + (b - p) * level / 255, 1) << "level " << level << ", bits " << shift;
    }
}

// A band of the key colour across rows 20..27 of a 64 x 48 picture.
COLORREF Banded(int x, int y) { return y >= 20 && y < 28 ? KEY : RGB(x * 4, y * 5, 128); }

// The engine's window made in this process, with its own class so that no
// close rule of the shell ends it while a test runs. The engine reads
// gleamo.ini beside the test executable, as the saver does beside itself.
class SlideshowWindow : public testing::Test {
protected:
    void SetUp() override {
        const WNDCLASSA windowClass = {0, TestWindowProc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr,
                                       nullptr, CLASS_NAME};
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        SetSlideshowFallback(nullptr);
        ticksSeen.clear();
    }

    void TearDown() override {
        Close();
        DeleteFileA(iniPath.c_str());
    }
    std::string Write(const std::string& name, const std::string& bytes) { return folder.Write(name, bytes); }

    // A popup window of the given client size, as the full-screen saver is.
    bool Open(const std::string& settings, int width = CLIENT_W, int height = CLIENT_H) {
        EXPECT_TRUE(WriteFileBytes(iniPath, settings));
        window = CreateWindowExA(0, CLASS_NAME, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        return window != nullptr;
    }

    void Close() {
        DestroyWindow(window);
        window = nullptr;
        // Ticks the timer posted are dropped, not handled by a later window.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // One tick handled and painted, whatever the timer does meanwhile: its
    // own ticks wait in the queue, which these tests never pump.
    void Tick() { SendMessageA(window, WM_SLIDESHOW_TICK, 0, 0); }

    std::string iniPath = ExecutableFolder() + "gleamo.ini";
    TempFolder folder;
    HWND window = nullptr;
};

// A desktop of several monitors gives the full-screen window more than one
// screen's height; its pictures must not grow with it. (The preview's share
// of the screen is seen on the screen in monitors_e2e_tests.)
TEST_F(SlideshowWindow, FullScreenKeepsScaleOneHoweverTall) {
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(Open(Settings({}), GetSystemMetrics(SM_CXSCREEN), 2 * screenHeight));
    RECT client = {};
    GetClientRect(window, &client);
    ASSERT_GT(client.bottom, screenHeight);
    EXPECT_EQ(SlideshowState().previewScale, 1.0);
}

// On the real timer: a tick whose handling never let the next one be posted
// would leave the first fade level for ever.
TEST_F(SlideshowWindow, TheTimerCarriesASlideThroughItsFadeAndHoldAndBringsTheNext) {
    ASSERT_TRUE(Open(Settings({Write("red.bmp", SolidBmp24(40, 30, RED)),
                               Write("green.bmp", SolidBmp24(50, 20, GREEN))},
                              "Scale=4\nDelay=2\n", "", "", 5)));
    ASSERT_TRUE(WaitUntil(RUN_LIMIT_MS, [] { return ticksSeen.size() >= 14; }))
        << "ticks handled: " << ticksSeen.size();

    const std::vector<int> levels = {192, 128, 64, 0, 0, 0, 63, 127, 191, 255, 192, 128, 64, 0};
    for (size_t i = 0; i < levels.size(); ++i) {
        const bool first = i < 10;
        EXPECT_EQ(ticksSeen[i].fadeLevel, levels[i]) << "tick " << i + 1;
        EXPECT_EQ(ticksSeen[i].pictureWidth, first ? 40 : 50) << "tick " << i + 1;
        ExpectBlend(ticksSeen[i].centre, first ? RED : GREEN, levels[i]);
    }
}

// A picture that takes long to read (a large photo) is read beside the
// window: the tick that asks for it comes back without it, ticks go on until
// it arrives, and the pictures still come in the order of the list, the one
// after a refused file included.
TEST_F(SlideshowWindow, ASlowPictureIsReadBesideTheWindowAndTheOrderHolds) {
    Hooks().slideLoadDelayMs = 1000;
    ASSERT_TRUE(Open(Settings({Write("red.bmp", SolidBmp24(40, 30, RED)), Write("broken.jpg", "not a picture"),
                               Write("green.bmp", SolidBmp24(50, 20, GREEN)),
                               Write("blue.bmp", SolidBmp24(60, 10, RGB(0, 0, 200)))})));
    Tick();
    EXPECT_EQ(SlideshowState().pictureWidth, 0) << "the tick waited for the whole read";
    Hooks().slideLoadDelayMs = 0;
    std::vector<int> widths;
    for (int tick = 0; tick < 200 && widths.size() < 4; ++tick) {
        Tick();
        const int width = SlideshowState().pictureWidth;
        if (width != 0 && (widths.empty() || widths.back() != width)) {
            widths.push_back(width);
        }
    }
    EXPECT_EQ(widths, (std::vector<int>{40, 50, 60, 40}));
}

// Closed while the worker still reads a picture, the window goes without
// waiting for the read; the slot they share outlives it until the worker has
// done, and is then freed once.
TEST_F(SlideshowWindow, ClosingDuringAReadGoesAtOnceAndTheWorkerFreesTheSlotOnce) {
    constexpr DWORD READ_MS = 3000;
    ASSERT_TRUE(WaitUntil(RUN_LIMIT_MS, [] { return SlideLoadSlotsForTest() == 0; })) << "an earlier window's slot";
    Hooks().slideLoadDelayMs = READ_MS;
    ASSERT_TRUE(Open(Settings({Write("red.bmp", SolidBmp24(40, 30, RED))})));
    Tick();
    ASSERT_EQ(SlideshowState().pictureWidth, 0);
    const DWORD closing = GetTickCount();
    Close();
    EXPECT_LT(GetTickCount() - closing, READ_MS / 2) << "the window waited for the read";
    EXPECT_EQ(SlideLoadSlotsForTest(), 1) << "freed under the worker";
    ASSERT_TRUE(WaitUntil(RUN_LIMIT_MS, [] { return SlideLoadSlotsForTest() <= 0; }));
    EXPECT_EQ(SlideLoadSlotsForTest(), 0);
}

// A picture is decoded on the worker, in its multithreaded apartment, by the
// imaging component (whose own CoInitialize there is refused) or by the OLE
// picture loader; or, when no worker thread can start, on the window's
// thread. Each way it shows on the tick that asked for it, the next one too.
TEST_F(SlideshowWindow, APictureShowsWhetherTheWorkerOrTheWindowThreadReadsIt) {
    constexpr COLORREF BLUE = RGB(0, 0, 255);
    const std::string png = folder / "blue.png", jpeg = folder / "blue.jpg";
    if (!WriteEncodedPicture(png, GUID_ContainerFormatPng, 48, 32, [](int, int) { return BLUE; }) ||
        !WriteJpeg(jpeg, 48, 32, [](int, int) { return BLUE; })) {
        GTEST_SKIP() << "the platform lacks an encoder";
    }
    const struct {
        const char* reader;
        bool workerRefused, imagingComponent;
        const std::string& picture;
    } cases[] = {{"worker, imaging component", false, true, png},
                 {"worker, OLE picture", false, false, jpeg},
                 {"window thread", true, true, png}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reader);
        Hooks().slideWorkerRefused = c.workerRefused;
        Hooks().imagingComponentMissing = !c.imagingComponent;
        ASSERT_TRUE(Open(Settings({c.picture, c.picture})));
        for (int slide = 0; slide < 2; ++slide) {
            Tick();
            ASSERT_EQ(SlideshowState().pictureWidth, 48) << "slide " << slide;
            ExpectBlend(WindowPixel(window, CLIENT_W / 2, CLIENT_H / 2), BLUE, SlideshowState().fadeLevel);
            for (int tick = 0; tick < 4 && SlideshowState().fadeLevel != 255; ++tick) {
                Tick();
            }
        }
        Close();
    }
}

// The first picture is cut by its band of the transparent colour; the
// second one's region cannot be made, so it is drawn whole, not cut by the
// first one's outline. Held, the window shows it; stamped (no fade-out), the
// background keeps it.
TEST_F(SlideshowWindow, TheKeyColourShowsTheBackgroundAndAPictureWithoutRegionIsDrawnWhole) {
    const std::vector<std::string> files = {Write("banded.bmp", Bmp24(64, 48, Banded)),
                                            Write("green.bmp", SolidBmp24(64, 48, GREEN))};
    const int left = (CLIENT_W - 64) / 2, top = (CLIENT_H - 48) / 2;
    for (int noFadeout : {0, 1}) {
        SCOPED_TRACE(noFadeout ? "stamped" : "held");
        Hooks().opaqueRegionFails = false;
        ASSERT_TRUE(Open(Settings(files, "Scale=1\nDelay=0\n",
                                  "UseMask=1\nUseColor=1\nMaskColor=" + std::to_string(KEY) +
                                      "\nNoFadeout=" + std::to_string(noFadeout) + "\n")));
        Tick();
        ASSERT_TRUE(SlideshowState().hasMaskRegion);
        HDC background = SlideshowState().backgroundDc;
        for (POINT p : {POINT{5, 10}, POINT{40, 24}, POINT{63, 47}}) {
            const COLORREF expected = Banded(p.x, p.y) == KEY ? BACK : Banded(p.x, p.y);
            EXPECT_EQ(WindowPixel(window, left + p.x, top + p.y), expected) << p.x << "," << p.y;
            EXPECT_EQ(GetPixel(background, left + p.x, top + p.y), noFadeout ? expected : BACK) << p.x << "," << p.y;
        }

        Hooks().opaqueRegionFails = true;
        for (int tick = 0; tick < 4 && SlideshowState().hasMaskRegion; ++tick) {
            Tick();
        }
        ASSERT_FALSE(SlideshowState().hasMaskRegion);
        for (POINT p : {POINT{5, 10}, POINT{40, 24}, POINT{63, 47}}) {
            EXPECT_EQ(WindowPixel(window, left + p.x, top + p.y), GREEN) << p.x << "," << p.y;
            EXPECT_EQ(GetPixel(background, left + p.x, top + p.y), noFadeout ? GREEN : BACK) << p.x << "," << p.y;
        }
        Close();
    }
}

TEST_F(SlideshowWindow, RandomZoomDrawsThePictureAtTheZoomedWidth) {
    constexpr int WIDTH = 100, HEIGHT = 60;
    ASSERT_TRUE(
        Open(Settings({Write("red.bmp", SolidBmp24(WIDTH, HEIGHT, RED))}, "Scale=2\nDelay=0\n", "Stretch=1\n")));
    // A zoom that changes no width is possible; a few slides give one that does.
    for (int tick = 0; tick < 40; ++tick) {
        Tick();
        const SlideshowView view = SlideshowState();
        const int width = static_cast<int>(WIDTH * view.zoom);
        if (width == WIDTH || view.fadeLevel == 255) {
            continue;
        }
        const int y = view.posY + static_cast<int>(HEIGHT * view.zoom) / 2;
        int first = -1, drawn = 0;
        for (int x = 0; x < CLIENT_W; ++x) {
            if (WindowPixel(window, x, y) != BACK) {
                first = first < 0 ? x : first;
                ++drawn;
            }
        }
        EXPECT_EQ(first, view.posX);
        EXPECT_EQ(drawn, width) << "zoom " << view.zoom;
        return;
    }
    FAIL() << "no slide was zoomed";
}

// Music plays without pictures, and without pictures no timer runs. A track
// that ends moves the list on; a stopped, superseded or failed one does not.
TEST_F(SlideshowWindow, OnlyATrackThatEndedSuccessfullyStartsTheNext) {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
    ASSERT_TRUE(Open(Settings({}, "", "", "[Music]\nPlayMusic=1\nSuffle=0\nCount=2\n") + "Music0=" +
                     Write("first.wav", WaveBytes(3000)) + "\nMusic1=" + Write("second.wav", WaveBytes(4000)) + "\n"));
    EXPECT_EQ(SlideshowState().timerId, 0u);
    EXPECT_EQ(SlideshowState().musicLength, 3000u);
    for (WPARAM code : {MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_FAILURE}) {
        SendMessageA(window, MM_MCINOTIFY, code, 0);
        EXPECT_EQ(SlideshowState().musicLength, 3000u) << code;
    }
    SendMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_EQ(SlideshowState().musicLength, 4000u);
}

// A music library of folders in folders is searched beside the window; its
// music starts once the search has ended.
TEST_F(SlideshowWindow, MusicInSubFoldersStartsOnceItsSearchEnds) {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
    ASSERT_TRUE(CreateDirectoryA((folder / "library").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder / "library\\album").c_str(), nullptr));
    Write("library\\album\\track.wav", WaveBytes(3000));
    ASSERT_TRUE(Open(Settings({}, "", "", "[Music]\nPlayMusic=1\nSubFolders=1\nCount=1\n") + "Music0=" +
                     (folder / "library") + "\n"));
    EXPECT_TRUE(WaitUntil(RUN_LIMIT_MS, [] { return SlideshowState().musicLength == 3000u; }));
}

// Refused at its last step, the start has made settings, a background and
// music by then: the box is shown over none of them.
TEST_F(SlideshowWindow, AFailedStartShowsTheErrorBoxAndLeavesNothingBehind) {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "no audio device: is the PulseAudio sink up?";
    Hooks().beginTimerPeriod = RefuseTimerPeriod;
    boxesClosed = 0;
    const UINT_PTR closer = SetTimer(nullptr, 0, 20, CloseErrorBox);
    EXPECT_FALSE(Open(Settings({Write("red.bmp", SolidBmp24(8, 8, RED))}, "", "", "[Music]\nPlayMusic=1\nCount=1\n") +
                      "Music0=" + Write("music.wav", WaveBytes(3000)) + "\n"));
    KillTimer(nullptr, closer);
    EXPECT_EQ(boxesClosed, 1);
    const SlideshowView v = SlideshowState();
    EXPECT_EQ(std::make_tuple(v.hasSettings, v.timerId, v.periodBegun, v.backgroundDc, v.musicLength),
              std::make_tuple(false, 0u, false, HDC{nullptr}, DWORD{0}))
        << "settings, timer, timer period, background, music";
}

}  // namespace
