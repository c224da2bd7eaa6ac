#include "music/music_player.h"

#include <digitalv.h>

#include "base/path_limits.h"
#include "base/wide_path.h"
#include "base/winmm_functions.h"
#include "music/music_time.h"

namespace {

// No parameter block: MCI_STOP and MCI_CLOSE need none.
constexpr DWORD_PTR NO_PARAMS = 0;

// Sends MCI_OPEN for a file: by its wide name, or through the ANSI code page
// where the system's file functions take no wide names. No device type: the
// platform picks the device from the extension.
MCIERROR OpenElement(const wchar_t* element, MCIDEVICEID& device) {
    constexpr DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (HasWideFileApi()) {
        MCI_OPEN_PARMSW open = {};
        open.lpstrElementName = element;
        const MCIERROR error = Winmm().mciSendCommandW(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
        device = open.wDeviceID;
        return error;
    }
    char name[PATH_BUFFER_SIZE];
    if (!WidePathToAnsi(element, name)) {
        return MCIERR_FILE_NOT_FOUND;
    }
    MCI_OPEN_PARMSA open = {};
    open.lpstrElementName = name;
    const MCIERROR error = Winmm().mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
    device = open.wDeviceID;
    return error;
}

}  // namespace

MusicPlayer::MusicPlayer() : deviceId_(0), playParams_() {}

MusicPlayer::~MusicPlayer() {
    Close();
}

MCIERROR MusicPlayer::Open(HWND notifyWindow, const wchar_t* element) {
    Close();

    MCIDEVICEID device = 0;
    MCIERROR error = 0;
    if (element != nullptr) {
        error = OpenElement(element, device);
    } else {
        MCI_OPEN_PARMSA open = {};
        open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(MCI_DEVTYPE_CD_AUDIO));
        error = Winmm().mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE | MCI_WAIT,
                                        reinterpret_cast<DWORD_PTR>(&open));
        device = open.wDeviceID;
    }
    if (error != 0) {
        return error;
    }
    deviceId_ = device;
    playParams_.dwCallback = reinterpret_cast<DWORD_PTR>(notifyWindow);

    MCI_SET_PARMS set = {};
    set.dwTimeFormat = DeviceType() == MCI_DEVTYPE_CD_AUDIO ? MCI_FORMAT_TMSF : MCI_FORMAT_MILLISECONDS;
    error = Winmm().mciSendCommandA(deviceId_, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&set));
    if (error != 0) {
        Close();
        return error;
    }

    if (notifyWindow == nullptr || DeviceType() != MCI_DEVTYPE_DIGITAL_VIDEO) {
        return 0;
    }
    DWORD_PTR display = 0;
    error = StatusItem(MCI_DGV_STATUS_HWND, display);
    // A device that does not support the query has no display window of its
    // own. Wine's DirectShow driver says so with MCIERR_UNRECOGNIZED_COMMAND
    // for audio-only files; failing the open over it would silence every MP3.
    if (error == MCIERR_UNSUPPORTED_FUNCTION || error == MCIERR_UNRECOGNIZED_COMMAND) {
        return 0;
    }
    if (error != 0) {
        Close();
        return error;
    }
    if (display == 0) {
        return 0;
    }
    MCI_DGV_WINDOW_PARMSA window = {};
    window.hWnd = notifyWindow;
    error = Winmm().mciSendCommandA(deviceId_, MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&window));
    if (error != 0) {
        Close();
        return error;
    }
    return 0;
}

MCIERROR MusicPlayer::Close() {
    if (deviceId_ == 0) {
        return 0;
    }
    Winmm().mciSendCommandA(deviceId_, MCI_STOP, MCI_WAIT, NO_PARAMS);
    const MCIERROR error = Winmm().mciSendCommandA(deviceId_, MCI_CLOSE, MCI_WAIT, NO_PARAMS);
    deviceId_ = 0;
    ZeroMemory(&playParams_, sizeof playParams_);
    return error;
}

MCIERROR MusicPlayer::Play(unsigned track, unsigned fromMinutes, unsigned fromSeconds, unsigned toMinutes,
                           unsigned toSeconds) {
    DWORD flags = MCI_NOTIFY | MCI_FROM;
    if (toMinutes != 0 || toSeconds != 0) {
        flags |= MCI_TO;
    }
    if (DeviceType() == MCI_DEVTYPE_CD_AUDIO) {
        playParams_.dwFrom = PackTmsf(track, fromMinutes, fromSeconds);
        playParams_.dwTo = PackTmsf(track, toMinutes, toSeconds);
    } else {
        playParams_.dwFrom = MillisecondsAt(fromMinutes, fromSeconds);
        playParams_.dwTo = MillisecondsAt(toMinutes, toSeconds);
    }
    return Winmm().mciSendCommandA(deviceId_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&playParams_));
}

bool MusicPlayer::IsPlaying() {
    DWORD_PTR mode = 0;
    return StatusItem(MCI_STATUS_MODE, mode) == 0 && mode == MCI_MODE_PLAY;
}

MCIERROR MusicPlayer::GetLength(unsigned track, unsigned& minutes, unsigned& seconds) {
    minutes = 0;
    seconds = 0;
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_LENGTH;
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT;
    if (track != 0) {
        flags |= MCI_TRACK;
        status.dwTrack = track;
    }
    const MCIERROR error = Winmm().mciSendCommandA(deviceId_, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&status));
    if (error != 0) {
        return error;
    }
    const uint32_t length = static_cast<uint32_t>(status.dwReturn);
    if (DeviceType() == MCI_DEVTYPE_CD_AUDIO) {
        SplitMsf(length, minutes, seconds);
    } else {
        SplitMilliseconds(length, minutes, seconds);
    }
    return 0;
}

DWORD MusicPlayer::DeviceType() {
    MCI_GETDEVCAPS_PARMS caps = {};
    caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    if (Winmm().mciSendCommandA(deviceId_, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&caps)) != 0) {
        return 0;
    }
    return caps.dwReturn;
}

MCIERROR MusicPlayer::StatusItem(DWORD item, DWORD_PTR& value) {
    value = 0;
    MCI_STATUS_PARMS status = {};
    status.dwItem = item;
    const MCIERROR error =
        Winmm().mciSendCommandA(deviceId_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status));
    if (error == 0) {
        value = status.dwReturn;
    }
    return error;
}
