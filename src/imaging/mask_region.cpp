#include "imaging/mask_region.h"

namespace {

bool failOpaqueRegions = false;

}  // namespace

void BuildMaskRegion(const BitmapBuffer& picture, bool useColor, COLORREF color, HRGN& region) {
    const COLORREF key = useColor ? color : GetPixel(picture.Dc(), 0, 0);
    if (region != nullptr) {
        DeleteObject(region);
        region = nullptr;
    }
    region = failOpaqueRegions ? nullptr : picture.CreateOpaqueRegion(key);
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

void SetOpaqueRegionFailureForTest(bool fail) {
    failOpaqueRegions = fail;
}
