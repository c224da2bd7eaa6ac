#include "engine/slide_loader.h"

#include <new>

#include "base/path_limits.h"
#include "imaging/picture_buffer.h"

namespace {

volatile LONG loadDelayMs = 0;

}  // namespace

// What the window thread and the worker share. Each holds a reference; the
// last to let go frees it, so a worker still reading a file when the window
// closes finishes on its own.
struct LoadSlot {
    volatile LONG references = 2;
    volatile LONG stopping = 0;
    HANDLE requested = nullptr;  // auto-reset: the window thread hands the slot over
    HANDLE done = nullptr;       // auto-reset: the worker hands it back
    // Written by the window thread before `requested`, read by the worker.
    char moduleDir[PATH_BUFFER_SIZE] = {};
    char entry[PATH_BUFFER_SIZE] = {};
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

DWORD WINAPI LoadWorker(void* parameter) {
    LoadSlot* slot = static_cast<LoadSlot*>(parameter);
    // The imaging component's decoders are COM objects.
    const bool comStarted = SUCCEEDED(CoInitialize(nullptr));
    while (WaitForSingleObject(slot->requested, INFINITE) == WAIT_OBJECT_0 && slot->stopping == 0) {
        if (loadDelayMs != 0) {
            Sleep(static_cast<DWORD>(loadDelayMs));
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
    HANDLE thread = slot->requested != nullptr && slot->done != nullptr
                        ? CreateThread(nullptr, 0, LoadWorker, slot, 0, &id)
                        : nullptr;
    if (thread == nullptr) {
        delete slot;
        return nullptr;
    }
    CloseHandle(thread);
    return slot;
}

}  // namespace

void SlideLoader::Request(const char* moduleDir, const char* entry, const PictureLimit& limit) {
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
    lstrcpynA(slot_->entry, entry, PATH_BUFFER_SIZE);
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
    if (slot_->done != nullptr && WaitForSingleObject(slot_->done, waitMs) != WAIT_OBJECT_0) {
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

void SetSlideLoadDelayForTest(DWORD delayMs) { InterlockedExchange(&loadDelayMs, static_cast<LONG>(delayMs)); }
