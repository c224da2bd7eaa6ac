// Where the current slide starts, how far it moves per tick and at which scale
// it begins its fade-in and ends its fade-out. Slide preparation writes it for
// every new slide; the frame clock only reads it.
#pragma once

class SlideMotion {
public:
    SlideMotion() = default;
    virtual ~SlideMotion() = default;

    // Start (0, 0), no movement, zooms 1.0: what every preparation starts from.
    void Reset() { *this = SlideMotion(); }

    void SetStart(int x, int y) {
        startX_ = x;
        startY_ = y;
    }
    void SetStep(double x, double y) {
        stepX_ = x;
        stepY_ = y;
    }
    void SetZoom(double in, double out) {
        zoomIn_ = in;
        zoomOut_ = out;
    }

    int StartX() const { return startX_; }
    int StartY() const { return startY_; }
    double StepX() const { return stepX_; }
    double StepY() const { return stepY_; }
    double ZoomIn() const { return zoomIn_; }
    double ZoomOut() const { return zoomOut_; }

private:
    SlideMotion(const SlideMotion&) = default;
    SlideMotion& operator=(const SlideMotion&) = default;

    int startX_ = 0;  // client position of the picture's top-left corner on the first frame
    int startY_ = 0;
    double stepX_ = 0.0;  // pixels per tick
    double stepY_ = 0.0;
    double zoomIn_ = 1.0;   // scale on the first fade-in frame
    double zoomOut_ = 1.0;  // scale the fade-out heads for
};
