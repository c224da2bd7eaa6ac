#include "engine/slideshow_window.h"

#include "shell/saver_window.h"

// The slideshow itself is not wired in yet: the window shows the class's black
// background and follows the close rules.
LRESULT SlideshowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SaverDefaultProc(window, message, wParam, lParam);
}
