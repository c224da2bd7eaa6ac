#include "engine/slide_placement.h"

#include "imaging/scale_math.h"

namespace {

constexpr int STEP_CHOICES = 7;  // steps -3..3
constexpr int STEP_OFFSET = 3;
constexpr int ZOOM_CHOICES = 101;  // percentages 50..150
constexpr int ZOOM_LOWEST_PERCENT = 50;
constexpr double PERCENT = 0.01;
// Zooms strictly between these are close to no zoom at all and get a second draw.
constexpr double NEAR_ONE_LOW = 0.8;
constexpr double NEAR_ONE_HIGH = 1.2;
constexpr double RANDOM_SCALE = 1.0 / RANDOM_MAX;
// The resolution every size the user sets is given in.
constexpr double BASE_DPI = 96.0;

double ZoomFromRandom(int r) {
    return (r % ZOOM_CHOICES + ZOOM_LOWEST_PERCENT) * PERCENT;
}

}  // namespace

double FitScale(int width, int height, int maxWidth, int maxHeight) {
    double sx = 1.0;
    double sy = 1.0;
    if (maxWidth > 0 && maxWidth < width) {
        sx = static_cast<double>(maxWidth) / width;
    }
    if (maxHeight > 0 && maxHeight < height) {
        sy = static_cast<double>(maxHeight) / height;
    }
    if (sx < 1.0 || sy < 1.0) {
        return sx < sy ? sx : sy;
    }
    return 1.0;
}

double ScaleForDpi(int dpi) {
    return dpi > 0 ? static_cast<double>(dpi) / BASE_DPI : 1.0;
}

double ShownScale(int width, int height, int maxWidth, int maxHeight, double dpiScale) {
    return FitScale(width, height, maxWidth, maxHeight) * dpiScale;
}

bool ShownSize(int width, int height, int maxWidth, int maxHeight, double previewScale, double dpiScale,
               int* shownWidth, int* shownHeight) {
    const double scale = ShownScale(width, height, maxWidth, maxHeight, dpiScale);
    if (scale != 1.0 && !(ScaleDimension(width, scale, &width) && ScaleDimension(height, scale, &height))) {
        return false;
    }
    if (previewScale != 1.0 &&
        !(ScaleDimension(width, previewScale, &width) && ScaleDimension(height, previewScale, &height))) {
        return false;
    }
    *shownWidth = width;
    *shownHeight = height;
    return width >= 1 && height >= 1;
}

int CenteredStart(int clientSize, int pictureSize) {
    return (clientSize - pictureSize) / 2;
}

int RandomStart(int r, int clientSize, int pictureSize) {
    // Rounded to a double before the second product: the 32-bit build keeps
    // intermediates in the x87 unit's wider format, where 32767 * (1 / 32767)
    // falls just short of 1 and the far edge would be one pixel short.
    volatile double fraction = r * RANDOM_SCALE;
    return static_cast<int>(fraction * static_cast<double>(clientSize - pictureSize));
}

double StepFromRandom(int r, double previewScale, double dpiScale) {
    double step = r % STEP_CHOICES - STEP_OFFSET;
    if (previewScale < 1.0) {
        step *= previewScale;
    }
    if (dpiScale != 1.0) {
        step *= dpiScale;
    }
    return step;
}

double StepAwayFromNearEdge(double step, int start, int pictureSize, int clientSize) {
    const int nearGap = start;
    const int farGap = clientSize - start - pictureSize;
    const int quarter = clientSize / 4;
    if (farGap > nearGap && nearGap < quarter && step < 0) {
        return -step;
    }
    if (farGap < nearGap && farGap < quarter && step > 0) {
        return -step;
    }
    return step;
}

double DrawZoom(RandomDraw draw) {
    const double zoom = ZoomFromRandom(draw());
    if (zoom < NEAR_ONE_HIGH && zoom > NEAR_ONE_LOW) {
        return ZoomFromRandom(draw());
    }
    return zoom;
}
