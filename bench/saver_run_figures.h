// What the benchmarks that start gleamo.scr and watch the screen share: the
// time since a moment, the median of several rounds, and the pixel at the
// middle of the screen, where the saver's centred test pictures show.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double SecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// -1 when there is none.
inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline COLORREF CentrePixel() {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    ReleaseDC(nullptr, screen);
    return color;
}
