#include "engine/display_stages.h"

#include "base/procedure_lookup.h"
#include "base/system_library.h"
#include "base/window_dpi.h"
#include "engine/monitor_stages.h"

namespace {

// The monitor functions are looked up at run time: Windows 95 and NT 4 have
// no several monitors, and a monitor's own resolution came with Windows 8.1.
typedef BOOL(WINAPI* EnumDisplayMonitorsFn)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoFn)(HMONITOR, LPMONITORINFO);
typedef BOOL(WINAPI* IsProcessDpiAwareFn)();
typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);

constexpr int MDT_EFFECTIVE_DPI = 0;

constexpr int BASE_DPI = 96;

// Whether the system draws this program at physical pixels: only then do
// resolutions above 96 DPI call for larger pictures.
bool DrawsInPhysicalPixels() {
    const IsProcessDpiAwareFn isAware = LoadedProcedureOf<IsProcessDpiAwareFn>("user32.dll", "IsProcessDPIAware");
    return isAware != nullptr && isAware();
}

struct MonitorCollector {
    GetMonitorInfoFn getInfo;
    GetDpiForMonitorFn getDpi;  // null: every monitor at windowDpi
    int windowDpi;
    MonitorArea monitors[MAX_STAGES];
    int count;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorCollector& collector = *reinterpret_cast<MonitorCollector*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (collector.count < MAX_STAGES && collector.getInfo(monitor, &info)) {
        UINT dpiX = 0;
        UINT dpiY = 0;
        int dpi = collector.windowDpi;
        if (collector.getDpi != nullptr && SUCCEEDED(collector.getDpi(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) {
            dpi = static_cast<int>(dpiX);
        }
        const RECT& r = info.rcMonitor;
        collector.monitors[collector.count++] = {{r.left, r.top, r.right, r.bottom},
                                                 (info.dwFlags & MONITORINFOF_PRIMARY) != 0, dpi};
    }
    return collector.count < MAX_STAGES;
}

}  // namespace

int FindStages(HWND window, SlideStage* stages, int capacity) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const PixelRect area = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};

    MonitorCollector collector = {};
    const bool physical = DrawsInPhysicalPixels();
    collector.windowDpi = physical ? WindowDpi(window) : BASE_DPI;
    // The preview stands for the whole screen in miniature: one stage.
    const bool preview = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    const EnumDisplayMonitorsFn enumerate = LoadedProcedureOf<EnumDisplayMonitorsFn>("user32.dll", "EnumDisplayMonitors");
    collector.getInfo = LoadedProcedureOf<GetMonitorInfoFn>("user32.dll", "GetMonitorInfoA");
    // Windows Vista, 7 and 8.0 have no shcore.dll: by its bare name a file of
    // that name beside the program would be taken.
    HMODULE shcore = physical ? LoadSystemLibrary("shcore.dll") : nullptr;
    if (shcore != nullptr) {
        collector.getDpi = ProcedureOf<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    }
    if (!preview && enumerate != nullptr && collector.getInfo != nullptr) {
        enumerate(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&collector));
    }
    if (shcore != nullptr) {
        FreeLibrary(shcore);
    }
    return ArrangeStages(collector.monitors, collector.count, area, collector.windowDpi, stages, capacity);
}
