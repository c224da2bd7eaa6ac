// What building the opaque region of one picture costs under the running
// platform: a photograph-like picture (a few runs per line, their ends moving
// from line to line) against a picture whose pixels alternate between the key
// and another colour (one run per two pixels), at the sizes given on the
// command line. Prints figures and a digest of each region, so that two
// builds can be shown to make the same regions; never fails.
//
//   region_cost [photo WxH ...] [alternate WxH ...]
// with no arguments: photo 1920x1080, alternate 640x480 and 1920x1080.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imaging/bitmap_buffer.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Put(BYTE* line, int x, COLORREF color) {
    line[3 * x] = GetBValue(color);
    line[3 * x + 1] = GetGValue(color);
    line[3 * x + 2] = GetRValue(color);
}

// A cut-out subject on a keyed backdrop, as a user would prepare one: an
// ellipse of gradient with three keyed holes, so every line has one to five
// runs and their ends differ from one line to the next.
COLORREF PhotoPixel(int x, int y, int width, int height) {
    const double dx = (x - width / 2.0) / (width * 0.45);
    const double dy = (y - height / 2.0) / (height * 0.45);
    if (dx * dx + dy * dy > 1.0) {
        return kKey;
    }
    for (int hole = 0; hole < 3; ++hole) {
        const double hx = (x - width * (0.3 + 0.2 * hole)) / (width * 0.05);
        const double hy = (y - height * (0.35 + 0.15 * hole)) / (height * 0.08);
        if (hx * hx + hy * hy <= 1.0) {
            return kKey;
        }
    }
    return RGB(x * 255 / width, y * 255 / height, 128);
}

// Key and another colour in turn along each line, shifted by one pixel from
// line to line, so no two lines have the same runs.
COLORREF AlternatePixel(int x, int y, int, int) { return (x + y) % 2 == 0 ? kKey : RGB(20, 40, 60); }

// FNV-1a over the region's rectangles as the platform returns them.
unsigned long Digest(HRGN region, DWORD* rectangles) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    RGNDATA* data = static_cast<RGNDATA*>(std::malloc(size));
    unsigned long hash = 2166136261ul;
    *rectangles = 0;
    if (data != nullptr && GetRegionData(region, size, data) == size) {
        *rectangles = data->rdh.nCount;
        const BYTE* p = reinterpret_cast<const BYTE*>(data->Buffer);
        for (DWORD i = 0; i < data->rdh.nCount * sizeof(RECT); ++i) {
            hash = (hash ^ p[i]) * 16777619ul;
        }
    }
    std::free(data);
    return hash;
}

void Measure(const char* kind, int width, int height, COLORREF (*pixel)(int, int, int, int)) {
    BitmapBuffer picture;
    if (!picture.Create(width, height, 24, RGB(0, 0, 0))) {
        std::printf("%-9s %5d x %-5d  the picture could not be made\n", kind, width, height);
        return;
    }
    GdiFlush();
    const DWORD stride = picture.Stride();
    for (int y = 0; y < height; ++y) {
        BYTE* line = picture.Bits() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            Put(line, x, pixel(x, y, width, height));
        }
    }
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HRGN region = picture.CreateOpaqueRegion(kKey);
    QueryPerformanceCounter(&end);
    if (region == nullptr) {
        std::printf("%-9s %5d x %-5d  no region (error %lu)\n", kind, width, height, GetLastError());
        return;
    }
    DWORD rectangles = 0;
    const unsigned long digest = Digest(region, &rectangles);
    DeleteObject(region);
    std::printf("%-9s %5d x %-5d  %10.1f ms  %8lu rectangles  digest %08lx\n", kind, width, height,
                Milliseconds(start, end), rectangles, digest);
}

bool ParseSize(const char* text, int* width, int* height) {
    return std::sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Measure("photo", 1920, 1080, PhotoPixel);
        Measure("alternate", 640, 480, AlternatePixel);
        Measure("alternate", 1920, 1080, AlternatePixel);
        return 0;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        int width = 0, height = 0;
        if (!ParseSize(argv[i + 1], &width, &height)) {
            std::printf("not a size: %s\n", argv[i + 1]);
            continue;
        }
        Measure(argv[i], width, height, std::strcmp(argv[i], "photo") == 0 ? PhotoPixel : AlternatePixel);
    }
    return 0;
}
