#include "imaging/smooth_resize.h"

#include "base/gdi_guards.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/scale_math.h"

namespace {

constexpr WORD TRUE_COLOR_DEPTH = 24;

// Stretches the whole of source over the whole of target, blending.
bool StretchBlending(const BitmapBuffer& source, const BitmapBuffer& target) {
    ScopedSavedDc saved(target.Dc());
    if (!saved.Saved()) {
        return false;
    }
    // 95, 98 and Me lack HALFTONE: there the pixels are repeated as before.
    if (SetStretchBltMode(target.Dc(), HALFTONE) == 0) {
        SetStretchBltMode(target.Dc(), COLORONCOLOR);
    }
    // Choosing HALFTONE leaves the brush origin undefined; the system asks
    // for it to be set again.
    SetBrushOrgEx(target.Dc(), 0, 0, nullptr);
    const BOOL stretched = StretchBlt(target.Dc(), 0, 0, target.Width(), target.Height(), source.Dc(), 0, 0,
                                      source.Width(), source.Height(), SRCCOPY);
    GdiFlush();
    return stretched != FALSE;
}

}  // namespace

bool ResizeSmoothly(BitmapBuffer& picture, double scale) {
    if (!(scale > 1.0)) {
        return picture.Scale(scale) != FALSE;
    }
    int width = 0;
    int height = 0;
    BitmapBuffer larger;
    if (picture.Dc() == nullptr || !ScaleDimension(picture.Width(), scale, &width) ||
        !ScaleDimension(picture.Height(), scale, &height) ||
        !larger.Create(width, height, TRUE_COLOR_DEPTH, RGB(0, 0, 0)) || !StretchBlending(picture, larger)) {
        picture.Release();
        return false;
    }
    picture.TakeFrom(larger);
    return true;
}
