#include "settings/saver_settings.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/paths.h"
#include "base/process_heap.h"
#include "settings/entry_keys.h"
#include "settings/ini_copy.h"
#include "settings/ini_file.h"
#include "settings/media_expansion.h"
#include "settings/setting_table.h"

namespace {

constexpr int KEY_BUFFER_SIZE = 32;
constexpr int NUMBERS_PER_ROW = static_cast<int>(sizeof(SettingNumbers) / sizeof(int));

// The directory part of a module path, trailing backslash included.
void CopyDirectoryPart(const char* path, char* directory) {
    lstrcpynA(directory, path, static_cast<int>(FileNamePart(path) - path) + 1);
}

// The key of element number of a row whose key is a "%d" format.
void FormatKey(const SettingRow& row, int number, char (&key)[KEY_BUFFER_SIZE]) {
    std::snprintf(key, sizeof key, row.key, number);
}

// Reads one row into the record. Counts and entries wait for ReadEntryRows.
void ReadRow(const IniFile& ini, const SettingRow& row, SaverSettings& s) {
    switch (row.kind) {
        case SettingKind::TEXT:
            ini.ReadString(row.section, row.key, "", s.*row.text, sizeof(SettingText));
            break;
        case SettingKind::FLAG:
        case SettingKind::OPT_IN:
            s.*row.number = ini.ReadBool(row.section, row.key, row.byDefault);
            break;
        case SettingKind::NUMBER:
            s.*row.number = ini.ReadIntClamped(row.section, row.key, row.byDefault, row.range.lower, row.range.upper);
            break;
        case SettingKind::NUMBERS:
            for (int i = 0; i < NUMBERS_PER_ROW; ++i) {
                char key[KEY_BUFFER_SIZE];
                FormatKey(row, i, key);
                (s.*row.numbers)[i] = ini.ReadInt(row.section, key, row.byDefault);
            }
            break;
        case SettingKind::COUNT:
        case SettingKind::ENTRIES:
            break;
    }
}

// The stored count of the entries of list: the value of its COUNT row, unclamped.
int StoredCount(const IniFile& ini, StringList SaverSettings::*list) {
    for (const SettingRow& row : SETTING_TABLE) {
        if (row.kind == SettingKind::COUNT && row.list == list) {
            return ini.ReadInt(row.section, row.key, 0);
        }
    }
    return 0;
}

// Reads the entries of an ENTRIES row numbered 0 .. count-1 into list, in
// ascending number, skipping empty ones. Only the keys that keyNames (the
// section's own key names) show are asked for, so a count far beyond them
// costs nothing. False when a list cannot grow.
bool ReadEntries(const IniFile& ini, const char* keyNames, const SettingRow& row, int count, StringList& list) {
    // The key's name up to its number, as the section's names are matched.
    char prefix[KEY_BUFFER_SIZE];
    lstrcpynA(prefix, row.key, static_cast<int>(std::strcspn(row.key, "%")) + 1);
    // One slot more than there are names, so that an empty list has a block too.
    const size_t slots = static_cast<size_t>(KeyNameCount(keyNames)) + 1;
    int* numbers = static_cast<int*>(HeapBlockAlloc(sizeof(int) * slots));
    ScopedHeapBlock numbersGuard(numbers);
    if (numbers == nullptr) {
        return false;
    }
    const int found = CollectEntryNumbers(keyNames, prefix, count, numbers);
    for (int i = 0; i < found; ++i) {
        char key[KEY_BUFFER_SIZE];
        FormatKey(row, numbers[i], key);
        char entry[PATH_BUFFER_SIZE];
        ini.ReadString(row.section, key, "", entry, sizeof entry);
        if (entry[0] != '\0' && !list.Add(entry)) {
            return false;
        }
    }
    return true;
}

// Reads every ENTRIES row, as many entries as its list's count says. False
// when a list cannot grow.
bool ReadEntryRows(const IniFile& ini, SaverSettings& s) {
    for (const SettingRow& row : SETTING_TABLE) {
        if (row.kind != SettingKind::ENTRIES) {
            continue;
        }
        const int count = StoredCount(ini, row.list);
        if (count <= 0) {
            continue;
        }
        char* keyNames = ini.ReadKeyNames(row.section);
        ScopedHeapBlock keyNamesGuard(keyNames);
        if (keyNames == nullptr || !ReadEntries(ini, keyNames, row, count, s.*row.list)) {
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
    void Remove(const char* section, const char* key) { written_ = written_ && ini_.RemoveKey(section, key); }
    bool AllWritten() const { return written_; }

private:
    const IniFile& ini_;
    bool written_ = true;
};

// Writes one row as the record holds it, unclamped.
void WriteRow(KeyWriter& w, const SettingRow& row, const SaverSettings& s) {
    char key[KEY_BUFFER_SIZE];
    switch (row.kind) {
        case SettingKind::TEXT:
            w.String(row.section, row.key, s.*row.text);
            break;
        case SettingKind::FLAG:
        case SettingKind::NUMBER:
            w.Int(row.section, row.key, s.*row.number);
            break;
        case SettingKind::OPT_IN:
            if (s.*row.number != 0) {
                w.Int(row.section, row.key, 1);
            } else {
                w.Remove(row.section, row.key);
            }
            break;
        case SettingKind::COUNT:
            w.Int(row.section, row.key, (s.*row.list).Count());
            break;
        case SettingKind::NUMBERS:
            for (int i = 0; i < NUMBERS_PER_ROW; ++i) {
                FormatKey(row, i, key);
                w.Int(row.section, key, (s.*row.numbers)[i]);
            }
            break;
        case SettingKind::ENTRIES:
            for (int i = 0; i < (s.*row.list).Count(); ++i) {
                FormatKey(row, i, key);
                w.String(row.section, key, (s.*row.list).Get(i));
            }
            break;
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

    for (const SettingRow& row : SETTING_TABLE) {
        ReadRow(ini, row, *this);
    }
    tickPeriodMs = TickPeriodForSpeed(speed);
    if (!ReadEntryRows(ini, *this)) {
        return false;
    }

    if (!skipExpansion && !ExpandMediaEntries(*this)) {
        return false;
    }

    // The Debug section is set only by hand and never written, so it has no
    // rows: it is read last, and only by a loading that got this far.
    useElapse = ini.ReadBool("Debug", "UseElapse", 0);
    if (useElapse == 1) {
        tickPeriodMs = ini.ReadIntClamped("Debug", "Elapse", 1, 1, 1000);
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

    for (const SettingRow& row : SETTING_TABLE) {
        WriteRow(w, row, *this);
    }
    return FinishIniCopy(copyPath, iniPath, w.AllWritten());
}
