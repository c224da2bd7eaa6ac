#include "engine/media_search.h"

#include <objbase.h>

#include <new>

#include "base/heap_array.h"
#include "base/media_list.h"
#include "base/worker_com.h"
#include "imaging/picture_formats.h"
#include "settings/media_expansion.h"

namespace {

// How long Stop waits: a listing on a network folder may not return at once.
constexpr DWORD STOP_WAIT_MS = 5000;

}  // namespace

struct SearchJob {
    const StringList* entries;
    const char* moduleDir;
    FolderRules rules;
    bool everyPictureFormat;
    MediaList* files;
    HWND window;
    UINT doneMessage;
    volatile LONG stop;

    void Run() {
        // The imaging component is asked for its formats on this thread.
        bool multithreaded = false;
        const bool comReady = everyPictureFormat && StartWorkerCom(multithreaded);
        HeapArray<wchar_t> extensions;
        if (everyPictureFormat && ReadablePictureExtensions(extensions)) {
            rules.extensions = &extensions[0];
        }
        if (comReady) {
            CoUninitialize();
        }
        rules.stop = &stop;
        // A list that cannot grow keeps what was found.
        ExpandEntries(*entries, moduleDir, rules, *files);
        files->EndSearch();
        if (doneMessage != 0 && stop == 0) {
            PostMessageA(window, doneMessage, 0, 0);
        }
    }
};

namespace {

DWORD WINAPI SearchThread(void* parameter) {
    static_cast<SearchJob*>(parameter)->Run();
    return 0;
}

}  // namespace

void MediaSearch::Start(const StringList& entries, const char* moduleDir, const FolderRules& rules,
                        bool everyPictureFormat, MediaList& files, HWND window, UINT doneMessage) {
    if (job_ != nullptr) {
        return;
    }
    job_ = new (std::nothrow) SearchJob{&entries, moduleDir, rules, everyPictureFormat, &files, window, doneMessage, 0};
    if (job_ == nullptr) {
        return;
    }
    files.BeginSearch();
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, SearchThread, job_, 0, &id);
    if (thread_ == nullptr) {
        job_->Run();
    }
}

void MediaSearch::RequestStop() {
    if (job_ != nullptr) {
        InterlockedExchange(&job_->stop, 1);
    }
}

bool MediaSearch::Stop() {
    if (job_ == nullptr) {
        return true;
    }
    RequestStop();
    if (thread_ != nullptr) {
        if (WaitForSingleObject(thread_, STOP_WAIT_MS) != WAIT_OBJECT_0) {
            return false;
        }
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    delete job_;
    job_ = nullptr;
    return true;
}
