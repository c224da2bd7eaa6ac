// The arithmetic of placing a new slide: the size limit, the start position,
// the per-tick steps and the random zooms. No platform calls: the random
// numbers come from the caller (values 0..32767).
#pragma once

// A source of pseudo-random values 0..32767.
typedef int (*RandomDraw)();

// The largest value RandomDraw returns.
constexpr int RANDOM_MAX = 32767;

// The one factor by which a width x height picture shrinks to fit the limits
// (0 = no limit in that direction); 1.0 when it fits. Pictures are never enlarged.
double FitScale(int width, int height, int maxWidth, int maxHeight);

// The size a width x height picture is shown at: shrunk by FitScale, then
// scaled by the preview's share of the screen (1.0 full screen), each side
// truncated after each step. False when a side would come to less than 1
// pixel or more than an int holds.
bool ShownSize(int width, int height, int maxWidth, int maxHeight, double previewScale, int* shownWidth,
               int* shownHeight);

// Start of a picture of size pictureSize, centred in clientSize (truncated
// toward zero, so negative when the picture is larger).
int CenteredStart(int clientSize, int pictureSize);

// Start of a picture placed at random: the fraction r / 32767 of the free space.
int RandomStart(int r, int clientSize, int pictureSize);

// A step of -3..3 pixels per tick from one random value, scaled in a preview.
double StepFromRandom(int r, double previewScale);

// Turns a step that heads for the nearer edge around when the picture starts
// within a quarter of the client size of that edge. One axis at a time.
double StepAwayFromNearEdge(double step, int start, int pictureSize, int clientSize);

// A random zoom 0.50..1.50 in hundredths, with values near 1.0 drawn again once.
double DrawZoom(RandomDraw draw);
