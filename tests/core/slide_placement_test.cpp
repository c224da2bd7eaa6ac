#include "engine/slide_placement.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Size = std::pair<int, int>;

// The shown size, or (-1, -1) when there is none.
Size Shown(int width, int height, int maxWidth, int maxHeight, double preview, double dpiScale) {
    Size s;
    return ShownSize(width, height, maxWidth, maxHeight, preview, dpiScale, &s.first, &s.second) ? s : Size(-1, -1);
}

TEST(SlidePlacement, PicturesShrinkByOneFactorToFitAndAreNeverEnlarged) {
    EXPECT_DOUBLE_EQ(FitScale(1280, 960, 640, 640), 0.5);
    EXPECT_DOUBLE_EQ(FitScale(960, 1280, 640, 640), 0.5);
    EXPECT_DOUBLE_EQ(FitScale(320, 200, 640, 640), 1.0);
    EXPECT_DOUBLE_EQ(FitScale(640, 640, 640, 640), 1.0) << "exactly at the limit is not scaled";
    EXPECT_DOUBLE_EQ(FitScale(2000, 100, 0, 640), 1.0) << "0 means no limit";
    EXPECT_DOUBLE_EQ(FitScale(2000, 1000, 1000, 0), 0.5);
}

// The size a decoder is asked for must be the one the fit and the preview
// would leave, truncated after each step as the shrinks truncate. (The fit
// alone is the first rows of the scaled-monitor test.)
TEST(SlidePlacement, TheShownSizeTruncatesAfterTheFitAndAgainAfterThePreview) {
    EXPECT_EQ(Shown(6000, 4000, 640, 640, 0.375, 1.0), Size(240, 159)) << "426 * 0.375, not 4000 * 0.10666 * 0.375";
    EXPECT_EQ(Shown(3000, 2, 600, 0, 1.0, 1.0), Size(-1, -1)) << "a line thinner than a pixel";
}

// On a monitor scaled to 125, 150 or 200 %, the saver draws in physical
// pixels and keeps what the user sees as large as at 100 %: the limit counts
// in 96-DPI units times the scale, a picture inside it is enlarged by the
// scale, a photo over it shrinks straight to the scaled limit, and the steps
// grow with the scale (and still shrink in a preview).
TEST(SlidePlacement, SizesAndStepsKeepTheirApparentSizeOnScaledMonitorsAndShrinkInThePreview) {
    struct Row {
        int dpi;
        double scale;
        int smallW, smallH, photoW, photoH, previewW;
    };
    for (const Row& row : {Row{96, 1.0, 300, 200, 640, 426, 75}, Row{120, 1.25, 375, 250, 800, 533, 93},
                           Row{144, 1.5, 450, 300, 960, 640, 112}, Row{192, 2.0, 600, 400, 1280, 853, 150}}) {
        SCOPED_TRACE(row.dpi);
        EXPECT_DOUBLE_EQ(ScaleForDpi(row.dpi), row.scale);
        EXPECT_EQ(Shown(300, 200, 640, 640, 1.0, row.scale), Size(row.smallW, row.smallH));
        EXPECT_EQ(Shown(6000, 4000, 640, 640, 1.0, row.scale), Size(row.photoW, row.photoH));
        EXPECT_EQ(Shown(300, 200, 0, 0, 0.25, row.scale).first, row.previewW);
        EXPECT_DOUBLE_EQ(StepFromRandom(6, 1.0, row.scale), 3 * row.scale);
        EXPECT_DOUBLE_EQ(StepFromRandom(0, 0.25, row.scale), -0.75 * row.scale);
    }
    EXPECT_DOUBLE_EQ(ScaleForDpi(0), 1.0) << "unknown";
    for (int r = 0; r < 7; ++r) {
        EXPECT_DOUBLE_EQ(StepFromRandom(r + 7 * 1000, 1.0), r - 3) << "steps run from -3 to 3";
    }
    EXPECT_DOUBLE_EQ(StepFromRandom(6, 1.5), 3.0) << "only a preview (below 1) scales";
}

TEST(SlidePlacement, CentringTruncatesTowardZero) {
    EXPECT_EQ(CenteredStart(801, 100), 350);
    EXPECT_EQ(CenteredStart(800, 1001), -100);
    EXPECT_EQ(CenteredStart(800, 800), 0);
}

TEST(SlidePlacement, RandomStartsSpanTheFreeSpace) {
    EXPECT_EQ(RandomStart(0, 1024, 640), 0);
    EXPECT_EQ(RandomStart(RANDOM_MAX, 1024, 640), 384);
    EXPECT_EQ(RandomStart(16384, 1024, 640), 192);
    EXPECT_EQ(RandomStart(RANDOM_MAX, 800, 1000), -200) << "a larger picture starts at or below 0";
    EXPECT_EQ(RandomStart(100, 800, 1000), 0) << "truncation toward zero";
}

TEST(SlidePlacement, PicturesNearAnEdgeMoveAwayFromIt) {
    // Client 1000 wide, picture 200: the quarter is 250.
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(-2.0, 100, 200, 1000), 2.0) << "near the left, heading left";
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(2.0, 100, 200, 1000), 2.0) << "near the left, heading right";
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(2.0, 700, 200, 1000), -2.0) << "near the right, heading right";
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(-2.0, 700, 200, 1000), -2.0);
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(-2.0, 300, 200, 1000), -2.0) << "beyond a quarter: free to go";
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(3.0, 400, 200, 1000), 3.0) << "equal gaps change nothing";
    EXPECT_DOUBLE_EQ(StepAwayFromNearEdge(-3.0, 400, 200, 1000), -3.0);
}

// The values the zoom draws in turn, and how many it took.
std::vector<int> queued;
size_t used = 0;
int FromQueue() { return queued[used++]; }

double ZoomFor(const std::vector<int>& values) {
    queued = values;
    used = 0;
    return DrawZoom(FromQueue);
}

TEST(SlidePlacement, ZoomsNearOneAreDrawnAgainOnce) {
    EXPECT_DOUBLE_EQ(ZoomFor({0}), 0.5);
    EXPECT_EQ(used, 1u);
    EXPECT_DOUBLE_EQ(ZoomFor({100}), 1.5);
    EXPECT_DOUBLE_EQ(ZoomFor({101 + 30}), 0.8) << "80 percent is kept";
    EXPECT_EQ(used, 1u);
    EXPECT_DOUBLE_EQ(ZoomFor({70, 55}), 1.2) << "120 percent is kept";
    EXPECT_EQ(used, 1u);
    for (int percent = 81; percent <= 119; ++percent) {
        EXPECT_DOUBLE_EQ(ZoomFor({percent - 50, 50}), 1.0) << "the second draw is used whatever it is";
        EXPECT_EQ(used, 2u) << percent;
    }
}

}  // namespace
