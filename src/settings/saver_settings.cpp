#include "settings/saver_settings.h"

#include <windows.h>

#include <cstdio>

#include "base/paths.h"
#include "settings/ini_file.h"
#include "settings/media_expansion.h"

namespace {

constexpr int CUSTOM_COLOR_COUNT = 16;
constexpr int WHITE = 0xFFFFFF;

// The directory part of a module path, trailing backslash included.
void CopyDirectoryPart(const char* path, char* directory) {
    lstrcpynA(directory, path, static_cast<int>(FileNamePart(path) - path) + 1);
}

// Reads entries key0 .. key(count-1) of the "filelist" section into list,
// skipping empty or missing ones. False when the list cannot grow.
bool ReadEntries(const IniFile& ini, const char* keyFormat, int count, StringList& list) {
    for (int i = 0; i < count; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, keyFormat, i);
        char entry[PATH_BUFFER_SIZE];
        ini.ReadString("filelist", key, "", entry, sizeof entry);
        if (entry[0] != '\0' && !list.Add(entry)) {
            return false;
        }
    }
    return true;
}

void WriteEntries(const IniFile& ini, const char* keyFormat, const StringList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, keyFormat, i);
        ini.WriteString("FileList", key, list.Get(i));
    }
}

}  // namespace

SaverSettings::SaverSettings(const char* baseName) {
    char modulePath[PATH_BUFFER_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    // A failed or truncated module path leaves both paths empty: the settings
    // then read as defaults and are never written to some other file.
    if (length == 0 || length >= sizeof modulePath) {
        return;
    }
    CopyDirectoryPart(modulePath, moduleDir);
    const int needed = lstrlenA(moduleDir) + lstrlenA(baseName) + lstrlenA(".ini");
    if (needed > MAX_PATH_CHARS) {
        return;
    }
    std::snprintf(iniPath, sizeof iniPath, "%s%s.ini", moduleDir, baseName);
}

bool SaverSettings::Load(bool skipExpansion) {
    IniFile ini;
    ini.SetPath(iniPath);

    ini.ReadString("back", "path", "", backPath, sizeof backPath);
    backScreen = ini.ReadBool("back", "screen", 1);
    backUsePic = ini.ReadBool("back", "usepic", 1);
    backTile = ini.ReadBool("back", "tile", 1);
    backBright = ini.ReadIntClamped("back", "bright", 0, -255, 255);
    backColor = ini.ReadIntClamped("back", "backcolor", 0, 0, WHITE);

    playMusic = ini.ReadBool("music", "playmusic", 0);
    musicShuffle = ini.ReadBool("music", "suffle", 1);
    const int musicCount = ini.ReadInt("music", "count", 0);

    fadeSteps = ini.ReadIntClamped("effect", "scale", 64, 1, 256);
    holdTicks = ini.ReadIntClamped("effect", "delay", 40, 0, 999);
    speed = ini.ReadIntClamped("effect", "speed", 3, 1, 5);
    tickPeriodMs = TickPeriodForSpeed(speed);

    center = ini.ReadBool("picture", "center", 0);
    pictureShuffle = ini.ReadBool("picture", "suffle", 1);
    noFadeout = ini.ReadBool("picture", "nofadeout", 0);
    move = ini.ReadBool("picture", "move", 1);
    randomZoom = ini.ReadBool("picture", "stretch", 0);
    maxWidth = ini.ReadIntClamped("picture", "maxwidth", 640, 0, 9999);
    maxHeight = ini.ReadIntClamped("picture", "maxheight", 640, 0, 9999);
    useMask = ini.ReadBool("picture", "usemask", 0);
    useColor = ini.ReadBool("picture", "usecolor", 0);
    maskColor = ini.ReadIntClamped("picture", "maskcolor", 0, 0, WHITE);

    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "cc%d", i);
        customColors[i] = ini.ReadInt("picture", key, WHITE);
    }

    const int pictureCount = ini.ReadInt("picture", "count", 0);
    if (!ReadEntries(ini, "picture%d", pictureCount, pictureEntries)) {
        return false;
    }
    if (!ReadEntries(ini, "music%d", musicCount, musicEntries)) {
        return false;
    }

    if (!skipExpansion && !ExpandMediaEntries(*this)) {
        return false;
    }

    useElapse = ini.ReadBool("debug", "useelapse", 0);
    if (useElapse == 1) {
        tickPeriodMs = ini.ReadIntClamped("debug", "elapse", 1, 1, 1000);
    }
    return true;
}

void SaverSettings::Save() const {
    IniFile ini;
    ini.SetPath(iniPath);

    ini.WriteString("Back", "Path", backPath);
    ini.WriteInt("Back", "Screen", backScreen);
    ini.WriteInt("Back", "UsePic", backUsePic);
    ini.WriteInt("Back", "Tile", backTile);
    ini.WriteInt("Back", "Bright", backBright);
    ini.WriteInt("Back", "BackColor", backColor);

    ini.WriteInt("Music", "PlayMusic", playMusic);
    ini.WriteInt("Music", "Suffle", musicShuffle);
    ini.WriteInt("Music", "Count", musicEntries.Count());

    ini.WriteInt("Effect", "Scale", fadeSteps);
    ini.WriteInt("Effect", "Delay", holdTicks);
    ini.WriteInt("Effect", "Speed", speed);

    ini.WriteInt("Picture", "Count", pictureEntries.Count());
    ini.WriteInt("Picture", "Center", center);
    ini.WriteInt("Picture", "Suffle", pictureShuffle);
    ini.WriteInt("Picture", "NoFadeout", noFadeout);
    ini.WriteInt("Picture", "Move", move);
    ini.WriteInt("Picture", "Stretch", randomZoom);
    ini.WriteInt("Picture", "MaxWidth", maxWidth);
    ini.WriteInt("Picture", "MaxHeight", maxHeight);
    ini.WriteInt("Picture", "UseMask", useMask);
    ini.WriteInt("Picture", "UseColor", useColor);
    ini.WriteInt("Picture", "MaskColor", maskColor);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "CC%d", i);
        ini.WriteInt("Picture", key, customColors[i]);
    }

    WriteEntries(ini, "Picture%d", pictureEntries);
    WriteEntries(ini, "Music%d", musicEntries);
}
