#include "imaging/mask_region.h"

namespace {

bool failOpaqueRegions = false;

}  // namespace

void BuildMaskRegion(const SaverSettings& settings, const BitmapBuffer& picture, HRGN& region) {
    if (settings.randomZoom || !settings.useMask) {
        return;
    }
    const COLORREF key = settings.useColor ? static_cast<COLORREF>(settings.maskColor) : GetPixel(picture.Dc(), 0, 0);
    if (region != nullptr) {
        DeleteObject(region);
        region = nullptr;
    }
    region = failOpaqueRegions ? nullptr : picture.CreateOpaqueRegion(key);
}

void RefreshClipRegion(const SaverSettings& settings, HRGN mask, HRGN& clip) {
    if (settings.randomZoom || !settings.useMask || mask == nullptr) {
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
