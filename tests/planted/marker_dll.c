/* A DLL that must never be used: built under the names of system DLLs and put
   beside a copy of gleamo.scr, it leaves "<its own path>.loaded" behind when a
   process loads it, and "<its own path>.called" when its GetDpiForMonitor (the
   one function the program asks shcore.dll for) is called. */
#include <windows.h>

static HINSTANCE self;

static void LeaveMarker(const char* extension) {
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcatA(path, extension);
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        LeaveMarker(".loaded");
    }
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI GetDpiForMonitor(HANDLE monitor, int kind, UINT* dpiX, UINT* dpiY) {
    (void)monitor;
    (void)kind;
    (void)dpiX;
    (void)dpiY;
    LeaveMarker(".called");
    return E_FAIL;
}
