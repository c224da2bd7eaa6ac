// The folder browser of the shell, remembering the last folder chosen.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "base/path_limits.h"

class FolderPicker {
public:
    FolderPicker() = default;
    FolderPicker(const FolderPicker&) = delete;
    FolderPicker& operator=(const FolderPicker&) = delete;
    virtual ~FolderPicker() = default;

    // Shows the browser over root (null: the desktop), opened on
    // initialSelection when one is given. True when the user chose a folder
    // that has a file-system path; Path then holds it.
    bool Browse(HWND owner, const char* title, const char* initialSelection, LPCITEMIDLIST root);

    // The folder of the last successful Browse; empty before.
    const char* Path() const { return path_; }

private:
    char path_[PATH_BUFFER_SIZE] = {};
};

// Browser callback: selects the folder path given as data once the browser is up.
int CALLBACK FolderPickerCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
