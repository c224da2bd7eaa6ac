// Reads the next slide's picture on a worker thread while the current slide
// shows, so that the window keeps answering while a large photo is decoded,
// turned and shrunk.
//
// Threading: the window thread owns the loader and makes every call. The
// worker thread only loads files into the shared slot; the slot passes
// between the two by events: a request hands it to the worker, the worker's
// "done" hands it back, and neither touches it while the other holds it. The
// worker does no window work and never touches the layer; the picture it
// makes is a buffer of its own, which the window thread takes over whole.
#pragma once

#include <windows.h>

#include "engine/picture_file.h"

class PictureBuffer;
struct LoadSlot;

class SlideLoader {
public:
    enum class Outcome {
        kNotReady,  // still loading: ask again on a later tick
        kLoaded,    // the picture is in the caller's buffer
        kRefused,   // the file was refused or could not be read
    };

    SlideLoader() = default;
    ~SlideLoader() { Stop(); }
    SlideLoader(const SlideLoader&) = delete;
    SlideLoader& operator=(const SlideLoader&) = delete;

    // Starts loading entry (a bare file name means one in moduleDir), to be
    // shown within limit; the worker starts with the first request. Where no
    // worker can run, loads it here and now. Ignored while a request is out.
    void Request(const char* moduleDir, const wchar_t* entry, const PictureLimit& limit);
    // True from a Request until its Take gives more than kNotReady.
    bool Pending() const { return pending_; }
    // Waits at most waitMs for the requested picture, less when input or a
    // message for this thread comes meanwhile; a loaded one moves into work.
    Outcome Take(PictureBuffer& work, DWORD waitMs);
    // Lets the worker go without waiting for a file in hand: it ends as soon
    // as that is read, and frees what it made.
    void Stop();

private:
    LoadSlot* slot_ = nullptr;  // shared with the worker; null before the first request
    bool pending_ = false;
};

// Tests count the load slots alive.
LONG SlideLoadSlotsForTest();
