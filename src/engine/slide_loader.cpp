#include "engine/slide_loader.h"

#include <new>

#include "base/path_limits.h"
#include "base/test_hooks.h"
#include "base/wide_text.h"
#include "base/worker_com.h"
#include "imaging/picture_buffer.h"

namespace {

volatile LONG slotsAlive = 0;


// What ends the window thread's wait for a picture: keys, mouse buttons and
// anything posted or sent to the thread, which only its loop can answer. Not
// mouse moves: the system makes one whenever a window appears or changes
// under the pointer, and the shell takes a few pixels for jitter; a real move
// waits at most the caller's bound. The flags are spelled out because
// QS_INPUT here takes in QS_RAWINPUT, which makes the wait fail on systems
// before XP.
constexpr DWORD WINDOW_WAKERS = QS_KEY | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_SENDMESSAGE;
// Everything a thread that pumps its own messages is woken for.
constexpr DWORD EVERY_MESSAGE = WINDOW_WAKERS | QS_MOUSEMOVE | QS_TIMER | QS_PAINT | QS_HOTKEY;

}  // namespace

// What the window thread and the worker share. Each holds a reference; the
// last to let go frees it, so a worker still reading a file when the window
// closes finishes on its own.
struct LoadSlot {
    LoadSlot() { InterlockedIncrement(&slotsAlive); }

    volatile LONG references = 2;
    volatile LONG stopping = 0;
    HANDLE requested = nullptr;  // auto-reset: the window thread hands the slot over
    HANDLE done = nullptr;       // auto-reset: the worker hands it back
    // Written by the window thread before `requested`, read by the worker.
    char moduleDir[PATH_BUFFER_SIZE] = {};
    wchar_t entry[PATH_BUFFER_SIZE] = {};
    PictureLimit limit = {0, 0, 1.0, 1.0, false};
    // Written by the worker before `done`, taken by the window thread.
    PictureBuffer picture;
    bool loaded = false;

    ~LoadSlot() {
        if (requested != nullptr) {
            CloseHandle(requested);
        }
        if (done != nullptr) {
            CloseHandle(done);
        }
        InterlockedDecrement(&slotsAlive);
    }

    void Load() {
        loaded = LoadPictureFile(picture, moduleDir, entry, &limit);
        // GDI batches drawing per thread: what the worker drew must be in the
        // pixels before another thread reads them.
        GdiFlush();
    }

    void LetGo() {
        if (InterlockedDecrement(&references) == 0) {
            delete this;
        }
    }
};

namespace {

// Waits for the next request. A thread in a single-threaded apartment must
// answer the messages of the apartment's window meanwhile: on 95, 98, 2000 and
// XP that window is a top-level one, and a program broadcasting a sent
// message waits for every top-level window to answer.
bool WaitForRequest(HANDLE requested, bool pumpMessages) {
    if (!pumpMessages) {
        return WaitForSingleObject(requested, INFINITE) == WAIT_OBJECT_0;
    }
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &requested, FALSE, INFINITE, EVERY_MESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) {
            return woken == WAIT_OBJECT_0;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
}

// The worker's thread: it reads, decodes, turns and shrinks each requested
// picture into the slot's buffer and touches no window, DC or layer. The
// imaging component's decoders are COM objects; the worker joins the
// multithreaded apartment, which has no window and so needs no message pump.
// Where the system has no CoInitializeEx (95 without DCOM) it takes a
// single-threaded apartment and pumps while it waits. A decoder's own
// CoInitialize on this thread then fails with RPC_E_CHANGED_MODE and leaves
// the apartment as it is.
DWORD WINAPI LoadWorker(void* parameter) {
    LoadSlot* slot = static_cast<LoadSlot*>(parameter);
    bool multithreaded = false;
    const bool comStarted = StartWorkerCom(multithreaded);
    const bool pumpMessages = !multithreaded;
    while (WaitForRequest(slot->requested, pumpMessages) && slot->stopping == 0) {
        const DWORD delayMs = Hooks().slideLoadDelayMs;
        if (delayMs != 0) {
            Sleep(delayMs);
        }
        slot->Load();
        SetEvent(slot->done);
    }
    if (comStarted) {
        CoUninitialize();
    }
    slot->LetGo();
    return 0;
}

// A slot with its events and its worker running; null when any of them
// cannot be made.
LoadSlot* StartWorker() {
    LoadSlot* slot = new (std::nothrow) LoadSlot;
    if (slot == nullptr) {
        return nullptr;
    }
    slot->requested = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    slot->done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = slot->requested != nullptr && slot->done != nullptr && !Hooks().slideWorkerRefused
                        ? CreateThread(nullptr, 0, LoadWorker, slot, 0, &id)
                        : nullptr;
    if (thread == nullptr) {
        delete slot;
        return nullptr;
    }
    CloseHandle(thread);
    return slot;
}

// Waits at most waitMs for done, but returns at once, false, when the window
// thread has input or a message to answer: messages posted to a thread are
// taken before its input, and ticks that each waited here would hold a key
// back until the picture came.
//
// The queue's status says what is there; the wait only says that something
// may have come (Wine also wakes it for events of its own display
// connection), so each wake is checked against the status. Keys, buttons and
// sent messages already queued when the loop took this tick count at once. A
// posted message already queued came before this tick or is a tick itself
// (one sent to the window may find one posted): reading the status marks it
// as seen, and only one posted while waiting counts.
bool WaitForPicture(HANDLE done, DWORD waitMs) {
    const DWORD start = GetTickCount();
    DWORD postedSince = 0;  // nothing posted counts before the first look
    for (;;) {
        const DWORD status = GetQueueStatus(WINDOW_WAKERS);
        const bool answer = (HIWORD(status) & (QS_KEY | QS_MOUSEBUTTON | QS_SENDMESSAGE)) != 0 ||
                            (LOWORD(status) & postedSince) != 0;
        const DWORD waited = GetTickCount() - start;
        const DWORD left = answer || waited >= waitMs ? 0 : waitMs - waited;
        const DWORD woken = MsgWaitForMultipleObjects(1, &done, FALSE, left, WINDOW_WAKERS);
        if (woken == WAIT_OBJECT_0) {
            return true;
        }
        if (left == 0 || woken != WAIT_OBJECT_0 + 1) {
            return false;
        }
        postedSince = QS_POSTMESSAGE;
    }
}

}  // namespace

void SlideLoader::Request(const char* moduleDir, const wchar_t* entry, const PictureLimit& limit) {
    if (pending_ || entry == nullptr) {
        return;
    }
    if (slot_ == nullptr) {
        slot_ = StartWorker();
        if (slot_ == nullptr) {
            // No worker: a slot of this thread's own, loaded at once.
            slot_ = new (std::nothrow) LoadSlot;
            if (slot_ == nullptr) {
                return;
            }
            slot_->references = 1;
        }
    }
    lstrcpynA(slot_->moduleDir, moduleDir, PATH_BUFFER_SIZE);
    CopyWide(slot_->entry, entry, PATH_BUFFER_SIZE);
    slot_->limit = limit;
    pending_ = true;
    if (slot_->requested != nullptr) {
        SetEvent(slot_->requested);
    } else {
        slot_->Load();
    }
}

SlideLoader::Outcome SlideLoader::Take(PictureBuffer& work, DWORD waitMs) {
    if (!pending_) {
        return Outcome::kNotReady;
    }
    if (slot_->done != nullptr && !WaitForPicture(slot_->done, waitMs)) {
        return Outcome::kNotReady;
    }
    pending_ = false;
    if (!slot_->loaded) {
        return Outcome::kRefused;
    }
    work.TakeFrom(slot_->picture);
    return Outcome::kLoaded;
}

void SlideLoader::Stop() {
    pending_ = false;
    if (slot_ == nullptr) {
        return;
    }
    InterlockedExchange(&slot_->stopping, 1);
    if (slot_->requested != nullptr) {
        SetEvent(slot_->requested);
    }
    slot_->LetGo();
    slot_ = nullptr;
}

LONG SlideLoadSlotsForTest() { return slotsAlive; }
