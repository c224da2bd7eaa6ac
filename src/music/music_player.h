// One open device of the media control interface: open a music file (or the
// CD audio device), play a range with completion notice to a window, ask
// whether it plays, close. Every operation returns the media control error
// code, 0 meaning success, and never shows a message.
#pragma once

#include <windows.h>

#include <mmsystem.h>

class MusicPlayer {
public:
    MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;
    virtual ~MusicPlayer();

    // Closes what was open, then opens element (a file path, the device
    // chosen by its extension; null for the CD audio device itself), sets the
    // time format (track/minute/second/frame for CD audio, else milliseconds)
    // and lets a video-capable device draw into notifyWindow. The player is
    // closed again on any error. On the 95/98 family a name the ANSI code
    // page cannot hold fails with MCIERR_FILE_NOT_FOUND.
    MCIERROR Open(HWND notifyWindow, const wchar_t* element);

    // Stops and closes the device; 0 when nothing was open. A play ended this
    // way does not report success to the window.
    MCIERROR Close();

    // Plays from the given position to the given one (to the end when both
    // are 0); the window given to Open receives MM_MCINOTIFY when it ends.
    // track counts only for CD audio.
    MCIERROR Play(unsigned track, unsigned fromMinutes, unsigned fromSeconds, unsigned toMinutes,
                  unsigned toSeconds);

    bool IsPlaying();

    // Length of track (of the whole medium when 0) in whole minutes and seconds;
    // both 0 on error.
    MCIERROR GetLength(unsigned track, unsigned& minutes, unsigned& seconds);

    // MCI_GETDEVCAPS_DEVICE_TYPE of the open device, asked afresh; 0 when unknown.
    DWORD DeviceType();

    // One MCI_STATUS item; value is 0 unless the query succeeds.
    MCIERROR StatusItem(DWORD item, DWORD_PTR& value);

    bool IsOpen() const { return deviceId_ != 0; }

private:
    MCIDEVICEID deviceId_;
    // Kept in the object: every play command is sent with this block.
    MCI_PLAY_PARMS playParams_;
};
