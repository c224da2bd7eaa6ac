// The user's settings, as kept in "<baseName>.ini" beside the program.
#pragma once

#include "base/media_list.h"
#include "base/path_limits.h"
#include "base/string_list.h"

class SaverSettings {
public:
    // Finds the program's directory and the settings file in it; every other
    // field is left to Load.
    explicit SaverSettings(const char* baseName);
    SaverSettings(const SaverSettings&) = delete;
    SaverSettings& operator=(const SaverSettings&) = delete;
    virtual ~SaverSettings() = default;

    // Reads every key into the record, values outside their range clamped.
    // With skipExpansion false the entries are also expanded into
    // pictureFiles and musicFiles. False only when a list could not grow.
    // Entries are read only from the keys the file holds, whatever the counts say.
    // Called once, on a fresh record: it appends to the lists.
    bool Load(bool skipExpansion);

    // Writes the record as it stands (no clamping). Keys of entries beyond the
    // current counts are left in the file; Load ignores them. False when the
    // file could not be written (read-only, a folder in its place, no path):
    // the file is then left exactly as it was.
    bool Save() const;

    // The timer period that belongs to a speed setting.
    static int TickPeriodForSpeed(int speed) { return speed * 20 + 10; }

    // The stored fields' keys, defaults and ranges are the rows of setting_table.cpp.
    char moduleDir[PATH_BUFFER_SIZE] = {};  // with a trailing backslash
    char backPath[PATH_BUFFER_SIZE] = {};
    int backScreen = 0;
    int backUsePic = 0;
    int backTile = 0;
    int backBright = 0;
    int backColor = 0;  // 0x00BBGGRR
    int center = 0;
    int pictureShuffle = 0;
    int move = 0;
    int randomZoom = 0;
    int noFadeout = 0;
    int maxWidth = 0;   // 0 = no limit
    int maxHeight = 0;  // 0 = no limit
    int useMask = 0;
    int useColor = 0;
    int maskColor = 0;
    int pictureSubFolders = 0;  // a picture folder brings its sub-folders, to any depth
    int allFormats = 0;         // a picture folder brings every format the system reads
    int caption = 0;            // each picture shows its date taken and folder name
    int fadeSteps = 0;
    int tickPeriodMs = 0;  // from speed, or the Debug override; never stored
    int holdTicks = 0;
    int speed = 0;
    StringList pictureEntries;
    StringList musicEntries;
    int playMusic = 0;
    int musicShuffle = 0;
    int musicSubFolders = 0;  // a music folder brings its sub-folders, to any depth
    int customColors[16] = {};
    MediaList pictureFiles;
    MediaList musicFiles;
    int useElapse = 0;
    char iniPath[PATH_BUFFER_SIZE] = {};
};
