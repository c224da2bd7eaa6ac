#include "settings/saver_settings.h"

#include <windows.h>

#include <cstdio>

#include "base/paths.h"
#include "base/process_heap.h"
#include "settings/entry_keys.h"
#include "settings/ini_copy.h"
#include "settings/ini_file.h"
#include "settings/media_expansion.h"

namespace {

constexpr int CUSTOM_COLOR_COUNT = 16;
constexpr int WHITE = 0xFFFFFF;

// The directory part of a module path, trailing backslash included.
void CopyDirectoryPart(const char* path, char* directory) {
    lstrcpynA(directory, path, static_cast<int>(FileNamePart(path) - path) + 1);
}

// Reads the entries prefix0 .. prefix(count-1) of the "filelist" section into
// list, in ascending number, skipping empty ones. Only the keys that keyNames
// (the section's own key names) show are asked for, so a count far beyond
// them costs nothing. False when a list cannot grow.
bool ReadEntries(const IniFile& ini, const char* keyNames, const char* prefix, int count, StringList& list) {
    if (count <= 0) {
        return true;
    }
    // One slot more than there are names, so that an empty list has a block too.
    const size_t slots = static_cast<size_t>(KeyNameCount(keyNames)) + 1;
    int* numbers = static_cast<int*>(HeapBlockAlloc(sizeof(int) * slots));
    ScopedHeapBlock numbersGuard(numbers);
    if (numbers == nullptr) {
        return false;
    }
    const int found = CollectEntryNumbers(keyNames, prefix, count, numbers);
    for (int i = 0; i < found; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "%s%d", prefix, numbers[i]);
        char entry[PATH_BUFFER_SIZE];
        ini.ReadString("filelist", key, "", entry, sizeof entry);
        if (entry[0] != '\0' && !list.Add(entry)) {
            return false;
        }
    }
    return true;
}

// Writes keys through an accessor and remembers whether the platform refused
// any; after a refusal it writes nothing more.
class KeyWriter {
public:
    explicit KeyWriter(const IniFile& ini) : ini_(ini) {}

    void Int(const char* section, const char* key, int value) {
        written_ = written_ && ini_.WriteInt(section, key, value);
    }
    void String(const char* section, const char* key, const char* text) {
        written_ = written_ && ini_.WriteString(section, key, text);
    }
    bool AllWritten() const { return written_; }

private:
    const IniFile& ini_;
    bool written_ = true;
};

void WriteEntries(KeyWriter& writer, const char* keyFormat, const StringList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, keyFormat, i);
        writer.String("FileList", key, list.Get(i));
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
    if (pictureCount > 0 || musicCount > 0) {
        char* keyNames = ini.ReadKeyNames("filelist");
        ScopedHeapBlock keyNamesGuard(keyNames);
        if (keyNames == nullptr || !ReadEntries(ini, keyNames, "picture", pictureCount, pictureEntries) ||
            !ReadEntries(ini, keyNames, "music", musicCount, musicEntries)) {
            return false;
        }
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

bool SaverSettings::Save() const {
    // Every key goes into a copy that replaces the file only once all of them
    // were written: a save refused half way leaves the file as it was, never
    // with counts and entries out of step.
    char copyPath[PATH_BUFFER_SIZE];
    if (!BeginIniCopy(iniPath, copyPath)) {
        return false;
    }
    IniFile ini;
    ini.SetPath(copyPath);
    KeyWriter w(ini);

    w.String("Back", "Path", backPath);
    w.Int("Back", "Screen", backScreen);
    w.Int("Back", "UsePic", backUsePic);
    w.Int("Back", "Tile", backTile);
    w.Int("Back", "Bright", backBright);
    w.Int("Back", "BackColor", backColor);

    w.Int("Music", "PlayMusic", playMusic);
    w.Int("Music", "Suffle", musicShuffle);
    w.Int("Music", "Count", musicEntries.Count());

    w.Int("Effect", "Scale", fadeSteps);
    w.Int("Effect", "Delay", holdTicks);
    w.Int("Effect", "Speed", speed);

    w.Int("Picture", "Count", pictureEntries.Count());
    w.Int("Picture", "Center", center);
    w.Int("Picture", "Suffle", pictureShuffle);
    w.Int("Picture", "NoFadeout", noFadeout);
    w.Int("Picture", "Move", move);
    w.Int("Picture", "Stretch", randomZoom);
    w.Int("Picture", "MaxWidth", maxWidth);
    w.Int("Picture", "MaxHeight", maxHeight);
    w.Int("Picture", "UseMask", useMask);
    w.Int("Picture", "UseColor", useColor);
    w.Int("Picture", "MaskColor", maskColor);
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "CC%d", i);
        w.Int("Picture", key, customColors[i]);
    }

    WriteEntries(w, "Picture%d", pictureEntries);
    WriteEntries(w, "Music%d", musicEntries);
    return FinishIniCopy(copyPath, iniPath, w.AllWritten());
}
