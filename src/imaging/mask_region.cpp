#include "imaging/mask_region.h"

#include "base/test_hooks.h"

void BuildMaskRegion(const BitmapBuffer& picture, bool useColor, COLORREF color, HRGN& region) {
    const COLORREF transparentColor = useColor ? color : GetPixel(picture.Dc(), 0, 0);
    if (region != nullptr) {
        DeleteObject(region);
        region = nullptr;
    }
    region = Hooks().opaqueRegionFails ? nullptr : picture.CreateOpaqueRegion(transparentColor);
}

void RefreshClipRegion(HRGN mask, HRGN& clip) {
    if (mask == nullptr) {
        return;
    }
    if (clip == nullptr) {
        clip = CreateRectRgn(0, 0, 0, 0);
        if (clip == nullptr) {
            return;
        }
    }
    if (CombineRgn(clip, mask, clip, RGN_COPY) == ERROR) {
        DeleteObject(clip);
        clip = nullptr;
    }
}
