// Plays the saver's music list on a thread of its own, so that the window
// never waits for the media control interface: opening a file can take a
// second (the platform's decoders starting cold), and without an audio device
// every open is that slow. The first frame and the answer to a key do not
// wait for it.
//
// Threading: the window thread owns the worker and makes every call. The
// worker thread makes every media control call of the run, so that a device
// is opened, played and closed on one thread: it owns the player and a copy
// of the music list, and needs nothing of the window thread's once started,
// so a command still running when the window closes finishes on its own.
// Requests pass by a counter and an event. The worker touches no window; the
// platform posts each track's completion notice to the window given at Start.
#pragma once

#include <windows.h>

class MediaList;
struct MusicOptions;
struct MusicSlot;

class MusicWorker {
public:
    MusicWorker() = default;
    ~MusicWorker() { Stop(); }
    MusicWorker(const MusicWorker&) = delete;
    MusicWorker& operator=(const MusicWorker&) = delete;

    // Starts the first track when music is on and files holds some:
    // PlayNextTrack with window, a copy of files and of options, on the
    // worker. Where no worker can run, plays here and now.
    void Start(HWND window, MediaList& files, const MusicOptions& options);
    // The next track, after one ended successfully.
    void PlayNext();
    // Stops and closes the music; waits a bounded time for the worker to do
    // so, then lets it go.
    void Stop();
    // The length of the track open once every request made so far is done
    // (waiting a bounded time for that); 0 when none is open.
    DWORD TrackLength();

private:
    MusicSlot* slot_ = nullptr;  // shared with the worker; null when no music runs
    HANDLE thread_ = nullptr;    // null when the music plays on the window thread
};
