// Reading the screen-saver switch from the argument text.
#pragma once

#include <cstdint>

enum class SaverMode {
    Settings,        // no switch: the settings dialog without an owner
    FullScreen,      // S
    SettingsOwned,   // C, optionally ":<window>"
    Preview,         // P or L, then "<window>"
    ChangePassword,  // A, then "<window>"
    Invalid,         // anything else
};

struct SaverSwitch {
    SaverMode mode;
    // Where the window handle's digits start, or null when the switch takes no
    // handle (or C came without a colon).
    const char* handleText;
};

// Finds the first switch letter: blanks, '-' and '/' before it are separators;
// only the first letter counts and whatever follows its handle is ignored.
SaverSwitch ScanSaverSwitch(const char* arguments);

// The value of the leading decimal digits of text (0 when there are none),
// in unsigned 32-bit arithmetic that wraps on overflow as the window handle
// value always has.
std::uint32_t ParseHandleValue(const char* text);
