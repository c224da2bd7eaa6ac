#include "engine/slideshow_window.h"

#include <cstdlib>
#include <ctime>
#include <new>

#include "base/gdi_guards.h"
#include "base/test_hooks.h"
#include "base/unexpected_error.h"
#include "base/winmm_functions.h"
#include "engine/background_preparation.h"
#include "engine/display_stages.h"
#include "engine/frame_clock.h"
#include "engine/media_search.h"
#include "engine/monitor_stages.h"
#include "engine/slide_loader.h"
#include "engine/slide_motion.h"
#include "engine/slide_preparation.h"
#include "imaging/mask_region.h"
#include "imaging/picture_buffer.h"
#include "imaging/slide_layer.h"
#include "music/music_worker.h"
#include "music/play_next_track.h"
#include "settings/media_expansion.h"
#include "settings/saver_settings.h"

namespace {

constexpr LRESULT REFUSE_CREATION = -1;
constexpr UINT TIMER_RESOLUTION_MS = 1;
// How long a tick waits for the next picture before it gives up until the
// next tick: long enough for an ordinary picture to arrive on the tick that
// asked for it. Input or a message for the window ends the wait at once.
constexpr DWORD PICTURE_WAIT_MS = 200;

// The off-screen frame WM_PAINT composes in. It lives from the first paint
// to WM_DESTROY: a client-sized bitmap made for every frame cost more than
// the drawing into it.
struct OffscreenFrame {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
};

// The engine's state for the one saver window of the process.
struct SlideEngine {
    SaverSettings* settings = nullptr;  // owned, from WM_CREATE to WM_DESTROY
    SlideMotion motion;
    SlideLayer layer;
    SlideLoader loader;
    MediaSearch pictureSearch;  // a photo library, searched as its pictures show
    MediaSearch musicSearch;    // a music library: its music starts once it is searched
    MusicWorker music;
    FrameClock clock;
    ClockSettings clockSettings;
    double previewScale = 0.0;
    SlideStage stages[MAX_STAGES] = {};  // the monitors slides take in turn
    int stageCount = 0;
    unsigned slidesShown = 0;
    UINT timerId = 0;
    UINT timerPeriod = 0;
    bool periodBegun = false;
    HRGN maskRegion = nullptr;  // opaque part of the picture, at the origin
    HRGN clipRegion = nullptr;  // the same, moved to where the picture is drawn
    OffscreenFrame frame;
};

SlideEngine& Engine() {
    static SlideEngine engine;
    return engine;
}

// 1 from the moment a tick is posted until its handling ends; the only thing
// the timer thread touches besides posting.
volatile LONG tickBusy = 0;

UnhandledMessageProc fallbackProc = DefWindowProcA;

int DrawRandom() {
    return std::rand();
}

void CALLBACK TickTimerProc(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    if (InterlockedExchange(&tickBusy, 1) == 0) {
        PostMessageA(reinterpret_cast<HWND>(user), WM_SLIDESHOW_TICK, timerId, 0);
    }
}

void DeleteRegion(HRGN& region) {
    if (region != nullptr) {
        DeleteObject(region);
        region = nullptr;
    }
}

// On several monitors a picture stays on the monitor it was placed on: the
// edge of its stage is the edge of its screen, however far it drifts or
// however large it is. One stage is the whole client: nothing to cut.
void ClipToStage(HDC dc) {
    const SlideEngine& e = Engine();
    if (e.stageCount > 1 && e.slidesShown > 0) {
        const SlideStage& stage = StageOfSlide(e.stages, e.stageCount, e.slidesShown - 1);
        IntersectClipRect(dc, stage.left, stage.top, stage.left + stage.width, stage.top + stage.height);
    }
}

// Binds the frame clock's needs to this window, its layer and its regions.
class WindowHooks : public FrameHooks {
public:
    explicit WindowHooks(HWND window) : window_(window) {}

    // The picture comes from the loader's worker thread, read for the size of
    // the stage (monitor) its slide takes in turn. The next one is asked for
    // as soon as this one is placed, in the order the list gives them, and
    // after this slide's random draws, so the values fall as they would if
    // each picture were read when its slide begins.
    bool PrepareSlide() override {
        SlideEngine& e = Engine();
        // An empty list, or one whose search has yet to find the next picture.
        if (!e.loader.Pending() && !RequestNext(e)) {
            e.motion.Reset();
            return false;
        }
        PictureBuffer work;
        if (e.loader.Take(work, PICTURE_WAIT_MS) == SlideLoader::Outcome::kNotReady) {
            return false;
        }
        const bool placed = PlaceNextSlide(e.motion, e.layer, e.maskRegion, *e.settings,
                                           StageOfSlide(e.stages, e.stageCount, e.slidesShown), e.previewScale,
                                           DrawRandom, work);
        if (placed) {
            ++e.slidesShown;
        }
        RequestNext(e);
        if (!placed) {
            return false;
        }
        // A picture whose opaque region could not be made is drawn whole; the
        // clip would still hold the outline of the picture before it.
        if (e.maskRegion == nullptr) {
            DeleteRegion(e.clipRegion);
        }
        return true;
    }

    bool PictureSize(int& width, int& height) override {
        const SlideLayer& layer = Engine().layer;
        if (layer.IsPictureEmpty()) {
            return false;
        }
        width = layer.PictureWidth();
        height = layer.PictureHeight();
        return true;
    }

    void MoveClip(int dx1, int dy1, int dx2, int dy2) override {
        SlideEngine& e = Engine();
        if (e.maskRegion == nullptr) {
            return;
        }
        if (UsesTransparentColor(*e.settings)) {
            RefreshClipRegion(e.maskRegion, e.clipRegion);
        }
        if (e.clipRegion != nullptr) {
            OffsetRgn(e.clipRegion, dx1, dy1);
            OffsetRgn(e.clipRegion, dx2, dy2);
        }
    }

    void Invalidate(const PixelRect& rect) override {
        const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
        InvalidateRect(window_, &area, FALSE);
    }

    void StampIntoBackground(int x, int y) override {
        SlideEngine& e = Engine();
        HDC background = e.layer.BackgroundDc();
        if (e.clipRegion != nullptr) {
            SelectClipRgn(background, e.clipRegion);
        }
        ClipToStage(background);
        e.layer.DrawBlended(background, 0, x, y, SRCCOPY, 1.0);
        SelectClipRgn(background, nullptr);
    }

private:
    // Hands the loader the list's next picture, for the stage the next slide
    // takes; false when the list has none to give yet.
    static bool RequestNext(SlideEngine& e) {
        const wchar_t* next = e.settings->pictureFiles.Next(e.settings->pictureShuffle != 0);
        if (next == nullptr) {
            return false;
        }
        e.loader.Request(e.settings->moduleDir, next, LimitOnStage(e.slidesShown));
        return true;
    }

    static PictureLimit LimitOnStage(unsigned slide) {
        const SlideEngine& e = Engine();
        return SlideLimit(*e.settings, e.previewScale, StageOfSlide(e.stages, e.stageCount, slide).dpiScale);
    }

    HWND window_;
};

ClockSettings ClockSettingsOf(const SaverSettings& settings) {
    ClockSettings clock;
    clock.fadeSteps = settings.fadeSteps;
    clock.holdTicks = settings.holdTicks;
    clock.randomZoom = settings.randomZoom != 0;
    clock.noFadeout = settings.noFadeout != 0;
    return clock;
}

MusicOptions MusicOptionsOf(const SaverSettings& settings) {
    MusicOptions options;
    options.play = settings.playMusic != 0;
    options.shuffle = settings.musicShuffle != 0;
    lstrcpynA(options.programDir, settings.moduleDir, PATH_BUFFER_SIZE);
    return options;
}

// Everything of Start that can fail; false refuses the window.
bool Start(HWND window) {
    SlideEngine& e = Engine();
    e.clock = FrameClock();
    e.timerId = 0;
    e.periodBegun = false;
    InterlockedExchange(&tickBusy, 0);

    e.settings = new (std::nothrow) SaverSettings("gleamo");
    if (e.settings == nullptr) {
        return false;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::rand();

    // Only the preview, a child of the small monitor in the display settings,
    // shrinks pictures to its share of the screen. The full-screen window may
    // span several monitors and be taller than the screen: its pictures keep
    // the size the user allowed.
    RECT client = {};
    GetClientRect(window, &client);
    const bool preview = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    e.previewScale = preview ? static_cast<double>(client.bottom) / GetSystemMetrics(SM_CYSCREEN) : 1.0;

    if (!e.settings->Load(false)) {
        return false;
    }
    e.clockSettings = ClockSettingsOf(*e.settings);
    e.stageCount = FindStages(window, e.stages, MAX_STAGES);
    e.slidesShown = 0;
    if (!PrepareBackground(e.layer, *e.settings, window, e.previewScale, e.stages[0].dpiScale)) {
        return false;
    }
    SaverSettings& s = *e.settings;
    if (PicturesSearchedApart(s)) {
        e.pictureSearch.Start(s.pictureEntries, s.moduleDir, PictureFolderRules(s), s.allFormats != 0,
                              s.pictureFiles, window, 0);
    }
    if (s.playMusic != 0 && MusicSearchedApart(s)) {
        e.musicSearch.Start(s.musicEntries, s.moduleDir, MusicFolderRules(s), false, s.musicFiles, window,
                            WM_SLIDESHOW_MUSIC_FOUND);
    } else {
        e.music.Start(window, s.musicFiles, MusicOptionsOf(s));
    }
    if (e.settings->pictureEntries.Count() == 0) {
        return true;
    }

    TIMECAPS caps = {};
    if (Winmm().timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) {
        return false;
    }
    e.timerPeriod = caps.wPeriodMin;
    const BeginTimerPeriodFn beginPeriod =
        Hooks().beginTimerPeriod != nullptr ? Hooks().beginTimerPeriod : Winmm().timeBeginPeriod;
    if (beginPeriod(e.timerPeriod) != TIMERR_NOERROR) {
        return false;
    }
    e.periodBegun = true;
    e.timerId = Winmm().timeSetEvent(static_cast<UINT>(e.settings->tickPeriodMs), TIMER_RESOLUTION_MS,
                                     TickTimerProc, reinterpret_cast<DWORD_PTR>(window), TIME_PERIODIC);
    return true;
}

void ReleaseFrame(OffscreenFrame& frame) {
    if (frame.dc != nullptr) {
        SelectObject(frame.dc, frame.previous);
        DeleteDC(frame.dc);
    }
    if (frame.bitmap != nullptr) {
        DeleteObject(frame.bitmap);
    }
    frame = OffscreenFrame();
}

// A bitmap for the frame. It has the layer's own format, 24 bits, so that the
// background and the blended picture go into it as plain copies and the one
// conversion to the display's format is the copy of the changed rectangle to
// the screen. A frame in the display's format would convert both on every
// frame; on a 32-bit display under Wine each of those conversions costs more
// than all the rest of the paint. On a palette display the frame stays
// compatible: its colours are matched to the palette as they are drawn, as
// they always were.
HBITMAP FrameBitmap(HDC screen, int width, int height) {
    if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0) {
        return CreateCompatibleBitmap(screen, width, height);
    }
    constexpr WORD FRAME_BIT_COUNT = 24;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = FRAME_BIT_COUNT;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The frame for a client of this size, made when there is none or the size
// changed; null when GDI cannot make it.
HDC FrameDc(OffscreenFrame& frame, HDC screen, int width, int height) {
    if (frame.dc != nullptr && frame.width == width && frame.height == height) {
        return frame.dc;
    }
    ReleaseFrame(frame);
    frame.dc = CreateCompatibleDC(screen);
    frame.bitmap = frame.dc != nullptr ? FrameBitmap(screen, width, height) : nullptr;
    if (frame.bitmap == nullptr) {
        ReleaseFrame(frame);
        return nullptr;
    }
    frame.previous = SelectObject(frame.dc, frame.bitmap);
    frame.width = width;
    frame.height = height;
    return frame.dc;
}

// Releases everything Start made, whether it finished or not; a second call
// finds nothing left.
void Release() {
    SlideEngine& e = Engine();
    e.loader.Stop();
    if (e.settings != nullptr) {
        if (e.timerId != 0) {
            Winmm().timeKillEvent(e.timerId);
            e.timerId = 0;
        }
        if (e.periodBegun) {
            Winmm().timeEndPeriod(e.timerPeriod);
            e.periodBegun = false;
        }
        // A search that did not end in time still reads the record: it is
        // left to the end of the process.
        e.pictureSearch.RequestStop();
        e.musicSearch.RequestStop();
        const bool picturesEnded = e.pictureSearch.Stop();
        const bool musicEnded = e.musicSearch.Stop();
        if (picturesEnded && musicEnded) {
            delete e.settings;
        }
        e.settings = nullptr;
    }
    e.layer.ClearAll();
    DeleteRegion(e.clipRegion);
    DeleteRegion(e.maskRegion);
    ReleaseFrame(e.frame);
    e.music.Stop();
}

LRESULT OnDestroy() {
    Release();
    return 0;
}

LRESULT OnCreate(HWND window) {
    // A window without height (a collapsed preview host) has nothing to show
    // and no scale to move pictures by; it is refused quietly.
    RECT client = {};
    GetClientRect(window, &client);
    if (client.bottom <= 0) {
        return REFUSE_CREATION;
    }
    if (!Start(window)) {
        // Released before the box, so that no music plays behind it. The
        // platform need not send WM_DESTROY to a window refused here.
        Release();
        ShowUnexpectedError(window);
        return REFUSE_CREATION;
    }
    return 0;
}

LRESULT OnTick(HWND window) {
    SlideEngine& e = Engine();
    // A tick sent rather than posted holds the flag too, so that the timer
    // posts none while this one runs.
    InterlockedExchange(&tickBusy, 1);
    if (e.settings != nullptr) {
        WindowHooks hooks(window);
        Tick(e.clock, e.clockSettings, e.motion, hooks);
    }
    InterlockedExchange(&tickBusy, 0);
    return 0;
}

// Composes background and picture off screen and copies only the update
// rectangle to the screen.
LRESULT OnPaint(HWND window) {
    SlideEngine& e = Engine();
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window, &paint);
    const RECT update = paint.rcPaint;
    RECT client = {};
    GetClientRect(window, &client);

    HDC dc = FrameDc(e.frame, screen, client.right, client.bottom);
    if (dc != nullptr) {
        // The frame outlives this paint; the clipping below must not.
        ScopedSavedDc saved(dc);
        // Draw only around the update rectangle (one pixel of margin).
        ExcludeClipRect(dc, 0, 0, update.left - 1, client.bottom);
        ExcludeClipRect(dc, 0, 0, client.right, update.top - 1);
        ExcludeClipRect(dc, update.right + 1, 0, client.right, client.bottom);
        ExcludeClipRect(dc, 0, update.bottom + 1, client.right, client.bottom);
        e.layer.DrawBackground(dc, 0, 0, SRCCOPY);
        if (e.clipRegion != nullptr) {
            SelectClipRgn(dc, e.clipRegion);
        }
        ClipToStage(dc);
        if (!e.layer.IsPictureEmpty()) {
            e.layer.DrawBlended(dc, e.clock.fadeLevel, e.clock.posX, e.clock.posY, SRCCOPY, e.clock.zoom);
        }
        BitBlt(screen, update.left, update.top, update.right - update.left, update.bottom - update.top, dc,
               update.left, update.top, SRCCOPY);
    }
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnMusicNotify(WPARAM code) {
    SlideEngine& e = Engine();
    if (code == MCI_NOTIFY_SUCCESSFUL && e.settings != nullptr) {
        e.music.PlayNext();
    }
    return 0;
}

LRESULT OnMusicFound(HWND window) {
    SlideEngine& e = Engine();
    if (e.settings != nullptr) {
        e.music.Start(window, e.settings->musicFiles, MusicOptionsOf(*e.settings));
    }
    return 0;
}

}  // namespace

LRESULT SlideshowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy();
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 0;
        case MM_MCINOTIFY:
            return OnMusicNotify(wParam);
        case WM_SLIDESHOW_TICK:
            return OnTick(window);
        case WM_SLIDESHOW_MUSIC_FOUND:
            return OnMusicFound(window);
        default:
            return fallbackProc(window, message, wParam, lParam);
    }
}

void SetSlideshowFallback(UnhandledMessageProc fallback) {
    fallbackProc = fallback != nullptr ? fallback : DefWindowProcA;
}

SlideshowView SlideshowState() {
    SlideEngine& e = Engine();
    SlideshowView view = {};
    view.timerId = e.timerId;
    view.periodBegun = e.periodBegun;
    view.hasSettings = e.settings != nullptr;
    view.previewScale = e.previewScale;
    view.fadeLevel = e.clock.fadeLevel;
    view.zoom = e.clock.zoom;
    view.posX = e.clock.posX;
    view.posY = e.clock.posY;
    view.pictureWidth = e.layer.PictureWidth();
    view.pictureHeight = e.layer.PictureHeight();
    view.hasMaskRegion = e.maskRegion != nullptr;
    view.backgroundDc = e.layer.BackgroundDc();
    view.musicLength = e.music.TrackLength();
    return view;
}
