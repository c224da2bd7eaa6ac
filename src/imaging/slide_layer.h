// Everything the slideshow draws: the background, the current picture and
// the blend of the two at a fade level.
#pragma once

#include <windows.h>

#include "imaging/blend_kernels.h"
#include "imaging/picture_buffer.h"

// TRUE when the processor has a CPUID instruction reporting MMX.
BOOL ProcessorHasMmx();

class SlideLayer {
public:
    // The blend follows ProcessorHasMmx: the packed form with the widest
    // vector kernels the processor runs, or the byte-wise form without MMX.
    SlideLayer();
    // The blend with the given kernels, whatever the processor (tests and
    // measurements).
    explicit SlideLayer(BlendKernelSet kernels);
    SlideLayer(const SlideLayer&) = delete;
    SlideLayer& operator=(const SlideLayer&) = delete;
    virtual ~SlideLayer();

    // Takes a 1:1 copy of the picture; with maxZoom > 0 also prepares every
    // zoom up to maxZoom. FALSE (picture buffers empty) for an empty source.
    BOOL SetPicture(const BitmapBuffer& source, double maxZoom);
    // The background for a client area of width x height: the source tiled
    // from the top-left corner, or stretched over the whole area.
    BOOL SetBackground(const BitmapBuffer& source, int width, int height, BOOL tile);
    void ClearPicture();
    void ClearAll();

    BOOL DrawBlended(HDC dc, int level, int x, int y, DWORD rop, double zoom) {
        return DrawBlendedAt(dc, level, x, y, x, y, rop, zoom);
    }
    // Blends the picture, zoomed when zooming was prepared, over the
    // background at (xBack, yBack) with level 0 (picture) .. 255
    // (background) and copies it to (xDest, yDest) of dc. A negative zoom
    // draws nothing and succeeds.
    BOOL DrawBlendedAt(HDC dc, int level, int xDest, int yDest, int xBack, int yBack, DWORD rop, double zoom);
    BOOL DrawBackground(HDC dc, int x, int y, DWORD rop);

    HDC BackgroundDc() const { return background.Dc(); }
    // Sizes without the spare columns; 0 while empty.
    int PictureWidth() const { return picture.Dc() != nullptr ? picture.Width() - SPARE_COLUMNS : 0; }
    int PictureHeight() const { return picture.Height(); }
    int BackgroundWidth() const { return background.Dc() != nullptr ? background.Width() - SPARE_COLUMNS : 0; }
    int BackgroundHeight() const { return background.Height(); }
    BOOL IsPictureEmpty() const { return work.Dc() == nullptr; }
    BOOL IsBackgroundEmpty() const { return background.Dc() == nullptr; }

    // Columns kept right of every picture and of the background, never shown:
    // the packed blend's last partial 8-byte step falls into them.
    static constexpr int SPARE_COLUMNS = 3;

private:
    PictureBuffer picture;     // the picture at 1:1, 24 bits, plus the spare columns
    PictureBuffer work;        // the blend output, the size of the buffer blended
    PictureBuffer background;  // 24 bits, client size plus the spare columns
    double maxZoom = 0.0;      // 0: no zoom prepared
    PictureBuffer zoomed;      // the picture at maxZoom, plus the spare columns
    BOOL hasMmx = FALSE;
    BlendKernels kernels;
};
