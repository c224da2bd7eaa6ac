#include "engine/background_preparation.h"

#include "base/gdi_guards.h"
#include "base/wide_path.h"
#include "engine/picture_file.h"
#include "imaging/picture_buffer.h"
#include "imaging/slide_layer.h"
#include "imaging/smooth_resize.h"
#include "settings/saver_settings.h"

namespace {

constexpr WORD TRUE_COLOR = 24;
constexpr COLORREF BLACK = RGB(0, 0, 0);

BOOL FillWhole(HDC dc, int width, int height, HBRUSH brush) {
    RECT area = {0, 0, width, height};
    return FillRect(dc, &area, brush);
}

void SetPictureBackground(SlideLayer& layer, const SaverSettings& settings, int width, int height,
                          double tileScale) {
    if (settings.backPath[0] == '\0') {
        return;
    }
    wchar_t backPath[PATH_BUFFER_SIZE];
    ScreenBuffer work;
    if (!AnsiToWidePath(settings.backPath, backPath) || !LoadPictureFile(work, settings.moduleDir, backPath, nullptr)) {
        return;
    }
    work.AdjustBrightness(settings.backBright);
    // Tiles shrink with the preview so that it shows what the screen would,
    // and grow with the monitor's scale so that they look as large as at 96
    // DPI; a stretched picture is stretched from its full size anyway.
    if (settings.backTile && tileScale != 1.0 && !ResizeSmoothly(work, tileScale)) {
        work.Release();
    }
    layer.SetBackground(work, width, height, settings.backTile ? TRUE : FALSE);
}

void SetColorBackground(SlideLayer& layer, const SaverSettings& settings, int width, int height) {
    ScreenBuffer work;
    if (!work.Create(width, height, TRUE_COLOR, BLACK)) {
        return;
    }
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(settings.backColor)));
    if (brush.Get() != nullptr && FillWhole(work.Dc(), width, height, brush.Get())) {
        layer.SetBackground(work, width, height, FALSE);
    }
}

void SetFallbackBackground(SlideLayer& layer, const SaverSettings& settings, HWND window, int width, int height) {
    ScreenBuffer work;
    if (!work.Create(width, height, TRUE_COLOR, BLACK)) {
        return;
    }
    if (settings.backScreen) {
        // The full-screen window, which may span several monitors, shows the
        // desktop it covers at 1:1; the preview shows the primary screen in
        // miniature.
        POINT origin = {0, 0};
        int captureWidth = GetSystemMetrics(SM_CXSCREEN);
        int captureHeight = GetSystemMetrics(SM_CYSCREEN);
        if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0) {
            ClientToScreen(window, &origin);
            captureWidth = width;
            captureHeight = height;
        }
        if (work.CaptureWindow(nullptr, origin.x, origin.y, captureWidth, captureHeight)) {
            layer.SetBackground(work, width, height, FALSE);
        }
    } else if (FillWhole(work.Dc(), width, height, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)))) {
        layer.SetBackground(work, width, height, FALSE);
    }
}

}  // namespace

bool PrepareBackground(SlideLayer& layer, const SaverSettings& settings, HWND window, double previewScale,
                       double dpiScale) {
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (!settings.backScreen) {
        if (settings.backUsePic) {
            SetPictureBackground(layer, settings, width, height, previewScale * dpiScale);
        } else {
            SetColorBackground(layer, settings, width, height);
        }
    }
    if (layer.IsBackgroundEmpty()) {
        SetFallbackBackground(layer, settings, window, width, height);
    }
    return !layer.IsBackgroundEmpty();
}
