#include "dialog/pictures_page.h"

#include "dialog/entry_list_page.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

EntryListPage picturesPage;

BOOL OnInitDialog(HWND page, LPARAM creationParameter) {
    SaverSettings* settings = reinterpret_cast<SaverSettings*>(creationParameter);
    OpenEntryListPage(picturesPage, page, settings, settings->pictureEntries, IDC_PICTURES_LIST,
                      IDS_FILTER_PICTURES);
    return TRUE;
}

BOOL OnCommand(HWND page, WPARAM wParam) {
    HandleEntryListButton(picturesPage, page, LOWORD(wParam));
    return TRUE;
}

BOOL OnDestroy(HWND page) {
    CloseEntryListPage(picturesPage, page);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK PicturesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, lParam);
        case WM_COMMAND:
            return OnCommand(page, wParam);
        case WM_DESTROY:
            return OnDestroy(page);
        default:
            return FALSE;
    }
}
