#include "imaging/slide_layer.h"

#include "imaging/blend_area.h"
#include "imaging/cpu_features.h"
#include "imaging/scale_math.h"

namespace {

constexpr int MAX_LEVEL = 255;
constexpr WORD LAYER_DEPTH = 24;

BlendKernelSet KernelsForThisProcessor() {
    return ProcessorHasMmx() ? WidestPackedKernelSet() : BlendKernelSet::kBytewise;
}

PixelRows RowsOf(const BitmapBuffer& buffer) {
    PixelRows rows;
    rows.bits = buffer.Bits();
    rows.width = buffer.Width();
    rows.height = buffer.Height();
    rows.stride = buffer.Stride();
    return rows;
}

}  // namespace

BOOL ProcessorHasMmx() { return CpuHasMmx() ? TRUE : FALSE; }

SlideLayer::SlideLayer() : SlideLayer(KernelsForThisProcessor()) {}

SlideLayer::SlideLayer(BlendKernelSet set)
    : hasMmx(set != BlendKernelSet::kBytewise), kernels(BlendKernelsFor(set)) {}

SlideLayer::~SlideLayer() { ClearAll(); }

void SlideLayer::ClearPicture() {
    picture.Release();
    work.Release();
    zoomed.Release();
    maxZoom = 0.0;
}

void SlideLayer::ClearAll() {
    ClearPicture();
    background.Release();
}

BOOL SlideLayer::SetPicture(const BitmapBuffer& source, double newMaxZoom) {
    maxZoom = 0.0;
    if (source.Dc() == nullptr) {
        ClearPicture();
        return FALSE;
    }
    if (!picture.Create(source.Width() + SPARE_COLUMNS, source.Height(), LAYER_DEPTH, RGB(0, 0, 0)) ||
        !source.DrawScaled(picture.Dc(), 1.0, SRCCOPY)) {
        ClearPicture();
        return FALSE;
    }
    const BitmapBuffer* toCopy = &picture;
    if (newMaxZoom > 0) {
        int w = 0;
        int h = 0;
        if (!ScaleDimension(source.Width(), newMaxZoom, &w) || !ScaleDimension(source.Height(), newMaxZoom, &h) ||
            !zoomed.Create(w + SPARE_COLUMNS, h, LAYER_DEPTH, RGB(0, 0, 0)) ||
            !source.DrawScaled(zoomed.Dc(), newMaxZoom, SRCCOPY)) {
            ClearPicture();
            return FALSE;
        }
        maxZoom = newMaxZoom;
        toCopy = &zoomed;
    } else {
        zoomed.Release();
    }
    if (!work.AssignScaled(*toCopy, 1.0)) {
        ClearPicture();
        return FALSE;
    }
    return TRUE;
}

BOOL SlideLayer::SetBackground(const BitmapBuffer& source, int width, int height, BOOL tile) {
    if (source.Dc() == nullptr) {
        background.Release();
        return FALSE;
    }
    if (!background.Create(width + SPARE_COLUMNS, height, LAYER_DEPTH, RGB(0, 0, 0))) {
        return FALSE;
    }
    const int sw = source.Width();
    const int sh = source.Height();
    if (tile) {
        BOOL result = TRUE;
        for (int y = 0; y < height; y += sh) {
            for (int x = 0; x < width; x += sw) {
                if (!source.Draw(background.Dc(), x, y, sw, sh, 0, 0, sw, sh, SRCCOPY)) {
                    result = FALSE;
                }
            }
        }
        if (!result) {
            background.Release();
        }
        return result;
    }
    // A picture larger than the background both ways is shrunk by area
    // averaging; otherwise, or when that cannot be done, it is stretched.
    BitmapBuffer shrunk;
    if (width <= sw && height <= sh && (width < sw || height < sh) && shrunk.AssignShrunk(source, width, height)) {
        if (!shrunk.Draw(background.Dc(), 0, 0, width, height, 0, 0, width, height, SRCCOPY)) {
            background.Release();
            return FALSE;
        }
        return TRUE;
    }
    if (!source.Draw(background.Dc(), 0, 0, width, height, 0, 0, sw, sh, SRCCOPY)) {
        background.Release();
        return FALSE;
    }
    return TRUE;
}

BOOL SlideLayer::DrawBlendedAt(HDC dc, int level, int xDest, int yDest, int xBack, int yBack, DWORD rop,
                               double zoom) {
    if (work.Dc() == nullptr) {
        return FALSE;
    }
    level = level < 0 ? 0 : (level > MAX_LEVEL ? MAX_LEVEL : level);

    const BitmapBuffer* source = &picture;
    int w = picture.Width();
    int h = picture.Height();
    if (maxZoom > 0) {
        if (zoom < 0) {
            return TRUE;
        }
        if (zoom > maxZoom) {
            zoom = maxZoom;
        }
        const int pw = PictureWidth();
        const int ph = PictureHeight();
        int zw = 0;
        int zh = 0;
        if (!ScaleDimension(pw, zoom, &zw) || !ScaleDimension(ph, zoom, &zh) ||
            !picture.Draw(zoomed.Dc(), 0, 0, zw, zh, 0, 0, pw, ph, SRCCOPY)) {
            return FALSE;
        }
        source = &zoomed;
        w = zw + SPARE_COLUMNS;
        h = zh;
    }

    // The stretches above may still be queued in GDI; the blend reads the
    // section's memory directly.
    GdiFlush();
    const PixelRows sourceRows = RowsOf(*source);
    const PixelRows workRows = RowsOf(work);
    if (background.Dc() != nullptr) {
        BlendOverBackground(sourceRows, RowsOf(background), workRows, w, h, xBack, yBack,
                            static_cast<unsigned>(level), kernels);
    } else {
        LightenArea(sourceRows, workRows, w, h, static_cast<unsigned>(level), kernels);
    }
    return work.Draw(dc, xDest, yDest, w - SPARE_COLUMNS, h, 0, 0, w - SPARE_COLUMNS, h, rop);
}

BOOL SlideLayer::DrawBackground(HDC dc, int x, int y, DWORD rop) {
    return background.Draw(dc, x, y, BackgroundWidth(), BackgroundHeight(), 0, 0, BackgroundWidth(),
                           BackgroundHeight(), rop);
}
