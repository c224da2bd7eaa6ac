// The arithmetic of placing a new slide: the size limit, the start position,
// the per-tick steps and the random zooms. No platform calls: the random
// numbers come from the caller (values 0..32767).
#pragma once

// A source of pseudo-random values 0..32767.
typedef int (*RandomDraw)();

// The largest value RandomDraw returns.
constexpr int RANDOM_MAX = 32767;

// Where a slide is placed: a rectangle of the client area (one monitor of the
// full-screen window, or the whole client) and its monitor's scale factor.
struct SlideStage {
    int left;
    int top;
    int width;
    int height;
    double dpiScale;
};

// The one factor by which a width x height picture shrinks to fit the limits
// (0 = no limit in that direction); 1.0 when it fits. Pictures are never enlarged.
double FitScale(int width, int height, int maxWidth, int maxHeight);

// The factor by which a monitor of that many dots per inch draws what a
// 96-DPI one draws at 1.0: dpi / 96, and 1.0 for 0 (the system could not
// tell).
double ScaleForDpi(int dpi);

// The factor a width x height picture is first scaled by: FitScale times the
// monitor's dpiScale, so that the limits count in 96-DPI units and a picture
// within them keeps the apparent size it has on a 96-DPI screen.
double ShownScale(int width, int height, int maxWidth, int maxHeight, double dpiScale);

// The size a width x height picture is shown at: scaled by ShownScale, then
// by the preview's share of the screen (1.0 full screen), each side
// truncated after each step. False when a side would come to less than 1
// pixel or more than an int holds.
bool ShownSize(int width, int height, int maxWidth, int maxHeight, double previewScale, double dpiScale,
               int* shownWidth, int* shownHeight);

// Start of a picture of size pictureSize, centred in clientSize (truncated
// toward zero, so negative when the picture is larger).
int CenteredStart(int clientSize, int pictureSize);

// Start of a picture placed at random: the fraction r / 32767 of the free space.
int RandomStart(int r, int clientSize, int pictureSize);

// A step of -3..3 pixels per tick from one random value, scaled in a preview
// (a previewScale below 1) and by the monitor's dpiScale.
double StepFromRandom(int r, double previewScale, double dpiScale = 1.0);

// Turns a step that heads for the nearer edge around when the picture starts
// within a quarter of the client size of that edge. One axis at a time.
double StepAwayFromNearEdge(double step, int start, int pictureSize, int clientSize);

// A random zoom 0.50..1.50 in hundredths, with values near 1.0 drawn again once.
double DrawZoom(RandomDraw draw);
