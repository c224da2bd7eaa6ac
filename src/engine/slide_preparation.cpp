#include "engine/slide_preparation.h"

#include "engine/picture_file.h"
#include "imaging/mask_region.h"
#include "imaging/picture_buffer.h"
#include "imaging/slide_layer.h"
#include "settings/saver_settings.h"

namespace {

// The largest zoom a slide can start or end at: the layer prepares a copy of
// the picture at this scale so that every smaller zoom fits inside it.
constexpr double LARGEST_ZOOM = 1.5;

// Loads the next picture into work, fitted to the limits and the preview.
// False when the file is refused or cannot be read, or the list has none to
// give yet.
bool LoadNextPicture(PictureBuffer& work, SaverSettings& settings, double previewScale) {
    const PictureLimit limit = SlideLimit(settings, previewScale, 1.0);
    const wchar_t* next = settings.pictureFiles.Next(settings.pictureShuffle != 0);
    return next != nullptr && LoadPictureFile(work, settings.moduleDir, next, &limit);
}

void ChooseSteps(SlideMotion& motion, const SaverSettings& settings, const SlideStage& stage, int pictureWidth,
                 int pictureHeight, double previewScale, RandomDraw draw) {
    double stepX = 0.0;
    double stepY = 0.0;
    do {
        stepX = StepFromRandom(draw(), previewScale, stage.dpiScale);
        stepY = StepFromRandom(draw(), previewScale, stage.dpiScale);
    } while (stepX == 0.0 && stepY == 0.0);
    if (!settings.center && !settings.noFadeout) {
        stepX = StepAwayFromNearEdge(stepX, motion.StartX() - stage.left, pictureWidth, stage.width);
        stepY = StepAwayFromNearEdge(stepY, motion.StartY() - stage.top, pictureHeight, stage.height);
    }
    motion.SetStep(stepX, stepY);
}

}  // namespace

bool UsesTransparentColor(const SaverSettings& settings) {
    return settings.useMask && !settings.randomZoom;
}

PictureLimit SlideLimit(const SaverSettings& settings, double previewScale, double dpiScale) {
    // The transparent colour is matched exactly, whenever a region is made of it.
    PictureLimit limit{settings.maxWidth, settings.maxHeight, previewScale, dpiScale, UsesTransparentColor(settings)};
    limit.caption = settings.caption != 0;
    limit.hasChosenTransparentColor = settings.useColor != 0;
    limit.chosenTransparentColor = static_cast<unsigned long>(settings.maskColor);
    return limit;
}

bool PrepareNextSlide(SlideMotion& motion, SlideLayer& layer, HRGN& maskRegion, SaverSettings& settings,
                      HWND window, double previewScale, RandomDraw draw) {
    PictureBuffer work;
    if (settings.pictureFiles.Count() > 0) {
        LoadNextPicture(work, settings, previewScale);
    }
    RECT client = {};
    GetClientRect(window, &client);
    const SlideStage wholeClient = {0, 0, client.right, client.bottom, 1.0};
    return PlaceNextSlide(motion, layer, maskRegion, settings, wholeClient, previewScale, draw, work);
}

bool PlaceNextSlide(SlideMotion& motion, SlideLayer& layer, HRGN& maskRegion, SaverSettings& settings,
                    const SlideStage& stage, double previewScale, RandomDraw draw, PictureBuffer& work) {
    motion.Reset();
    if (work.Dc() == nullptr || !layer.SetPicture(work, settings.randomZoom ? LARGEST_ZOOM : 0.0)) {
        return false;
    }
    if (UsesTransparentColor(settings)) {
        BuildMaskRegion(work, settings.useColor != 0, static_cast<COLORREF>(settings.maskColor), maskRegion);
    }

    const int width = layer.PictureWidth();
    const int height = layer.PictureHeight();
    if (settings.center) {
        motion.SetStart(stage.left + CenteredStart(stage.width, width), stage.top + CenteredStart(stage.height, height));
    } else {
        const int rx = draw();
        const int ry = draw();
        motion.SetStart(stage.left + RandomStart(rx, stage.width, width),
                        stage.top + RandomStart(ry, stage.height, height));
    }
    // A preview without height has a scale of 0 and could never draw a step;
    // the window refuses to start at that size, so this guards only misuse.
    if (settings.move && previewScale > 0.0) {
        ChooseSteps(motion, settings, stage, width, height, previewScale, draw);
    }
    if (settings.randomZoom) {
        const double zoomIn = DrawZoom(draw);
        const double zoomOut = DrawZoom(draw);
        motion.SetZoom(zoomIn, zoomOut);
    }
    return true;
}
