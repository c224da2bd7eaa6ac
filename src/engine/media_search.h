// Fills a media list on a thread of its own, so that the window shows the
// first picture found while the rest of a library is searched, and answers a
// key at once all the while.
//
// Threading: the window thread owns the search and makes every call. The
// thread reads the entries and appends to the list (whose own lock guards it);
// neither may go before Stop has said the thread ended. It touches no window
// but to post the one message that says it is done.
#pragma once

#include <windows.h>

#include "base/folder_walk.h"

class MediaList;
class StringList;
struct SearchJob;

class MediaSearch {
public:
    MediaSearch() = default;
    ~MediaSearch() { Stop(); }
    MediaSearch(const MediaSearch&) = delete;
    MediaSearch& operator=(const MediaSearch&) = delete;

    // Appends what entries give under rules to files, which counts as being
    // searched until it ends. With everyPictureFormat the folders give the
    // files of every picture format the system reads, asked for first. When
    // done, posts doneMessage to window (none for 0). Where no thread can be
    // made, searches here and now. Ignored while a search runs.
    void Start(const StringList& entries, const char* moduleDir, const FolderRules& rules, bool everyPictureFormat,
               MediaList& files, HWND window, UINT doneMessage);

    // Asks the search to end, without waiting: searches stopped together
    // wind down together.
    void RequestStop();

    // Asks the search to end and waits a while for it. False when it did not
    // end in time (a folder on a network that does not answer): it then still
    // reads the entries and the list, which must stay alive.
    bool Stop();

private:
    SearchJob* job_ = nullptr;
    HANDLE thread_ = nullptr;
};
