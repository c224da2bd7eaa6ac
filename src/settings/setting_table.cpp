#include "settings/setting_table.h"

#include <climits>

namespace {

constexpr int WHITE = 0xFFFFFF;
constexpr SettingRange ANY = {INT_MIN, INT_MAX};

using S = SaverSettings;

constexpr SettingRow Text(const char* section, const char* key, SettingText S::*field) {
    return {section, key, SettingKind::TEXT, nullptr, field, nullptr, nullptr, 0, ANY};
}
constexpr SettingRow Flag(const char* section, const char* key, int S::*field, int byDefault) {
    return {section, key, SettingKind::FLAG, field, nullptr, nullptr, nullptr, byDefault, {0, 1}};
}
constexpr SettingRow OptIn(const char* section, const char* key, int S::*field) {
    return {section, key, SettingKind::OPT_IN, field, nullptr, nullptr, nullptr, 0, {0, 1}};
}
constexpr SettingRow Number(const char* section, const char* key, int S::*field, int byDefault, int lower,
                            int upper) {
    return {section, key, SettingKind::NUMBER, field, nullptr, nullptr, nullptr, byDefault, {lower, upper}};
}
constexpr SettingRow Count(const char* section, const char* key, StringList S::*list) {
    return {section, key, SettingKind::COUNT, nullptr, nullptr, list, nullptr, 0, ANY};
}
constexpr SettingRow Numbers(const char* section, const char* keyFormat, SettingNumbers S::*field, int byDefault) {
    return {section, keyFormat, SettingKind::NUMBERS, nullptr, nullptr, nullptr, field, byDefault, ANY};
}
constexpr SettingRow Entries(const char* section, const char* keyFormat, StringList S::*list) {
    return {section, keyFormat, SettingKind::ENTRIES, nullptr, nullptr, list, nullptr, 0, ANY};
}

// The two Suffle keys are misspelt, and stay so: every file stored so far holds them.
constexpr SettingRow SETTING_ROWS[] = {
    Text("Back", "Path", &S::backPath),
    Flag("Back", "Screen", &S::backScreen, 1),
    Flag("Back", "UsePic", &S::backUsePic, 1),
    Flag("Back", "Tile", &S::backTile, 1),
    Number("Back", "Bright", &S::backBright, 0, -255, 255),
    Number("Back", "BackColor", &S::backColor, 0, 0, WHITE),
    Flag("Music", "PlayMusic", &S::playMusic, 0),
    Flag("Music", "Suffle", &S::musicShuffle, 1),
    OptIn("Music", "SubFolders", &S::musicSubFolders),
    Count("Music", "Count", &S::musicEntries),
    Number("Effect", "Scale", &S::fadeSteps, 64, 1, 256),
    Number("Effect", "Delay", &S::holdTicks, 40, 0, 999),
    Number("Effect", "Speed", &S::speed, 3, 1, 5),
    Count("Picture", "Count", &S::pictureEntries),
    Flag("Picture", "Center", &S::center, 0),
    Flag("Picture", "Suffle", &S::pictureShuffle, 1),
    Flag("Picture", "NoFadeout", &S::noFadeout, 0),
    Flag("Picture", "Move", &S::move, 1),
    Flag("Picture", "Stretch", &S::randomZoom, 0),
    Number("Picture", "MaxWidth", &S::maxWidth, 640, 0, 9999),
    Number("Picture", "MaxHeight", &S::maxHeight, 640, 0, 9999),
    Flag("Picture", "UseMask", &S::useMask, 0),
    Flag("Picture", "UseColor", &S::useColor, 0),
    Number("Picture", "MaskColor", &S::maskColor, 0, 0, WHITE),
    OptIn("Picture", "SubFolders", &S::pictureSubFolders),
    OptIn("Picture", "AllFormats", &S::allFormats),
    OptIn("Picture", "Caption", &S::caption),
    Numbers("Picture", "CC%d", &S::customColors, WHITE),
    Entries("FileList", "Picture%d", &S::pictureEntries),
    Entries("FileList", "Music%d", &S::musicEntries),
};

}  // namespace

const SettingTable SETTING_TABLE = {SETTING_ROWS, static_cast<int>(sizeof SETTING_ROWS / sizeof SETTING_ROWS[0])};

SettingRange SettingRangeOf(int SaverSettings::*field) {
    for (const SettingRow& row : SETTING_ROWS) {
        if (row.kind == SettingKind::NUMBER && row.number == field) {
            return row.range;
        }
    }
    return ANY;
}
