#include "music/music_worker.h"

#include <cstdlib>
#include <ctime>
#include <new>

#include "base/media_list.h"
#include "music/music_player.h"
#include "music/play_next_track.h"

namespace {

// How long Stop waits for the worker to close the device: about as long as
// closing took on the window thread, unless a command hangs.
constexpr DWORD STOP_WAIT_MS = 5000;
// How long TrackLength waits for the requests made before it: long enough
// for a search through a list of files that do not play.
constexpr DWORD SETTLE_WAIT_MS = 30000;

// Waits for object while serving the messages other threads send to this
// one: a video device told to draw into the window sends to it from the
// worker.
bool WaitServingSentMessages(HANDLE object, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD result =
            MsgWaitForMultipleObjects(1, &object, FALSE, elapsed < waitMs ? waitMs - elapsed : 0, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) {
            return result == WAIT_OBJECT_0;
        }
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

// What the window thread and the worker share. Each holds a reference; the
// last to let go frees it.
struct MusicSlot {
    volatile LONG references = 2;
    volatile LONG stopping = 0;
    volatile LONG requests = 0;     // steps asked for and not yet done
    volatile LONG trackLength = 0;  // of what the player holds after the last step
    HANDLE wake = nullptr;          // auto-reset: a request, or the stop
    HANDLE stepDone = nullptr;      // auto-reset: a step is done
    HWND window = nullptr;
    MediaList files;
    MusicOptions options;
    MusicPlayer player;

    ~MusicSlot() {
        if (wake != nullptr) {
            CloseHandle(wake);
        }
        if (stepDone != nullptr) {
            CloseHandle(stepDone);
        }
    }

    // False when the list could not be copied whole.
    bool CopyFrom(MediaList& sourceFiles, const MusicOptions& sourceOptions) {
        options = sourceOptions;
        // One whole pass in list order leaves the source where it was.
        for (int i = sourceFiles.Count(); i > 0; --i) {
            if (!files.Add(sourceFiles.Next(false))) {
                return false;
            }
        }
        return true;
    }

    // The length is kept for the view tests have of the window.
    void Step() {
        PlayNextTrack(window, files, options, player);
        DWORD_PTR length = 0;
        if (player.IsOpen()) {
            player.StatusItem(MCI_STATUS_LENGTH, length);
        }
        InterlockedExchange(&trackLength, static_cast<LONG>(length));
    }

    void LetGo() {
        if (InterlockedDecrement(&references) == 0) {
            delete this;
        }
    }
};

namespace {

DWORD WINAPI MusicThread(void* parameter) {
    MusicSlot* slot = static_cast<MusicSlot*>(parameter);
    // The generator's state is each thread's own: left unseeded here, a
    // shuffled list would come in the same order on every run.
    std::srand(static_cast<unsigned>(std::time(nullptr)) ^ GetCurrentThreadId());
    while (slot->stopping == 0) {
        if (slot->requests > 0) {
            slot->Step();
            InterlockedDecrement(&slot->requests);
            SetEvent(slot->stepDone);
            continue;
        }
        // A device may keep a window of its own on the thread that opened it;
        // it is served here between requests.
        MsgWaitForMultipleObjects(1, &slot->wake, FALSE, INFINITE, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    slot->player.Close();
    slot->LetGo();
    return 0;
}

}  // namespace

void MusicWorker::Start(HWND window, MediaList& files, const MusicOptions& options) {
    Stop();
    if (!options.play || files.Count() == 0) {
        return;
    }
    slot_ = new (std::nothrow) MusicSlot;
    if (slot_ == nullptr) {
        return;
    }
    slot_->window = window;
    slot_->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    slot_->stepDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!slot_->CopyFrom(files, options)) {
        delete slot_;
        slot_ = nullptr;
        return;
    }
    slot_->requests = 1;
    DWORD id = 0;
    thread_ = slot_->wake != nullptr && slot_->stepDone != nullptr
                  ? CreateThread(nullptr, 0, MusicThread, slot_, 0, &id)
                  : nullptr;
    if (thread_ == nullptr) {
        // No worker: the slot is this thread's alone.
        slot_->references = 1;
        PlayNext();
    }
}

void MusicWorker::PlayNext() {
    if (slot_ == nullptr) {
        return;
    }
    if (thread_ == nullptr) {
        slot_->Step();
        slot_->requests = 0;
        return;
    }
    InterlockedIncrement(&slot_->requests);
    SetEvent(slot_->wake);
}

void MusicWorker::Stop() {
    if (slot_ == nullptr) {
        return;
    }
    if (thread_ != nullptr) {
        InterlockedExchange(&slot_->stopping, 1);
        SetEvent(slot_->wake);
        WaitServingSentMessages(thread_, STOP_WAIT_MS);
        CloseHandle(thread_);
        thread_ = nullptr;
    } else {
        slot_->player.Close();
    }
    slot_->LetGo();
    slot_ = nullptr;
}

DWORD MusicWorker::TrackLength() {
    if (slot_ == nullptr) {
        return 0;
    }
    const DWORD start = GetTickCount();
    while (slot_->requests > 0) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= SETTLE_WAIT_MS) {
            break;
        }
        WaitServingSentMessages(slot_->stepDone, SETTLE_WAIT_MS - elapsed);
    }
    return static_cast<DWORD>(slot_->trackLength);
}
