#include "engine/unexpected_error.h"

#include "resources/resource_ids.h"
#include "shell/shell_state.h"

void ShowUnexpectedError(HWND owner) {
    char text[1024] = {};
    LoadStringA(Shell().instance, IDS_UNEXPECTED_ERROR, text, sizeof text);
    MessageBoxA(owner, text, "Gleamo", MB_ICONWARNING);
}
