#include "shell/saver_running.h"

#include "shell/shell_state.h"

void SetSaverRunning(BOOL running) {
    if (!Shell().isWin9x) {
        return;
    }
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, static_cast<UINT>(running), &previous, 0);
}
