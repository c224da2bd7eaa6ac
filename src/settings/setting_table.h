// The keys of the settings file, one row each, in the order Save writes them.
// Load and Save are both driven by these rows, and the dialog takes its
// ranges from them: a new setting is a field of SaverSettings and one row.
#pragma once

#include "settings/saver_settings.h"

// The values a number is brought into when it is read.
struct SettingRange {
    int lower;
    int upper;
};

enum class SettingKind {
    TEXT,     // a path, cut to MAX_PATH_CHARS characters
    FLAG,     // any nonzero value reads as 1
    OPT_IN,   // a FLAG that is off when absent, written as 1 while on and removed while off, so that a
              // file saved with it off holds exactly what it held before the setting existed
    NUMBER,   // clamped to its range when read; written as it stands
    COUNT,    // how many entries a list holds: written from the list, read only to find the entries
    NUMBERS,  // one key per element of an array, the key a format with one "%d" numbered from 0
    ENTRIES,  // one key per entry of a list, as ENTRIES; the list's COUNT row says how many are read
};

using SettingText = decltype(SaverSettings::backPath);
using SettingNumbers = decltype(SaverSettings::customColors);

// Section and key are matched in any letter case when read; they are written
// as spelt here. Only the member pointer of the row's kind is set.
struct SettingRow {
    const char* section;
    const char* key;
    SettingKind kind;
    int SaverSettings::*number;       // FLAG, OPT_IN, NUMBER
    SettingText SaverSettings::*text;  // TEXT
    StringList SaverSettings::*list;   // COUNT, ENTRIES
    SettingNumbers SaverSettings::*numbers;  // NUMBERS
    int byDefault;                     // FLAG, NUMBER, NUMBERS
    SettingRange range;                // NUMBER
};

// The rows, in the order Save writes them.
struct SettingTable {
    const SettingRow* rows;
    int count;
    const SettingRow* begin() const { return rows; }
    const SettingRow* end() const { return rows + count; }
};
extern const SettingTable SETTING_TABLE;

// The range a number field is clamped to when read; the whole int range for
// a field no NUMBER row fills.
SettingRange SettingRangeOf(int SaverSettings::*field);
