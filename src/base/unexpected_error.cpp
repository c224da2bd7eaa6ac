#include "base/unexpected_error.h"

#include "base/program_facts.h"
#include "resources/resource_ids.h"

void ShowUnexpectedError(HWND owner) {
    char text[1024] = {};
    LoadStringA(ProgramModule(), IDS_UNEXPECTED_ERROR, text, sizeof text);
    MessageBoxA(owner, text, "Gleamo", MB_ICONWARNING);
}
