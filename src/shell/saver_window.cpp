#include "shell/saver_window.h"

namespace {

constexpr int NO_WINDOW = -1;

}  // namespace

// The slideshow window is not part of this build yet: the saver modes end at
// once, showing nothing.
int RunSaverWindow(HWND) {
    return NO_WINDOW;
}
