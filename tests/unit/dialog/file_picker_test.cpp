// The open-file picker's own rules, and the texts the list pages make from
// what it returns. Text is in code page 932 here.
#include "dialog/file_picker.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog/list_entries.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD MULTIPLE = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

TEST(FilePicker, APathThatWouldNotFitIsRefusedWholeNeverCutShort) {
    FilePicker picker(nullptr, MULTIPLE, 4096);
    const std::string longest = "C:\\" + std::string(MAX_PATH_CHARS - 3, 'p');
    picker.SetInitialFile(longest.c_str());
    EXPECT_EQ(picker.SelectedCount(), 1);
    EXPECT_EQ(std::string(picker.SelectedPath(0)), longest);

    const std::string tooLong = longest + "q";
    picker.SetInitialFile(tooLong.c_str());
    EXPECT_EQ(std::string(picker.FileName()), tooLong);
    EXPECT_STREQ(picker.SelectedPath(0), "") << "too long for a list entry";
    picker.SetInitialFile(nullptr);
    EXPECT_EQ(picker.SelectedCount(), 0);

    // The name buffer must leave room for one terminator, two for a multiple selection.
    FilePicker single(nullptr, OFN_FILEMUSTEXIST, PATH_BUFFER_SIZE);
    FilePicker multiple(nullptr, MULTIPLE, PATH_BUFFER_SIZE);
    const std::string fits(PATH_BUFFER_SIZE - 1, 'a');
    single.SetInitialFile(fits.c_str());
    multiple.SetInitialFile(fits.c_str());
    EXPECT_EQ(std::string(single.FileName()), fits);
    EXPECT_STREQ(multiple.FileName(), "");
    single.SetInitialFile((fits + "a").c_str());
    EXPECT_STREQ(single.FileName(), "") << "a path that does not fit leaves the buffer cleared";

    FilePicker withoutBuffers(nullptr, OFN_FILEMUSTEXIST, PATH_BUFFER_SIZE - 1);
    withoutBuffers.SetInitialFile("C:\\a.jpg");
    EXPECT_EQ(withoutBuffers.SelectedCount(), 0);
    EXPECT_FALSE(withoutBuffers.Run()) << "no dialog without its buffers";
}

// 表 (0x95 0x5C) ends in the byte of the backslash, which is no separator there.
TEST(ListEntries, AFileBesideTheProgramIsListedByItsBareNameInAnyLetterCase) {
    ASSERT_EQ(GetACP(), 932u);
    const struct {
        const char *path, *programDirectory, *entry;
    } cases[] = {
        {"C:\\Program\\a.jpg", "C:\\Program\\", "a.jpg"},  {"c:\\PROGRAM\\a.jpg", "C:\\Program\\", "a.jpg"},
        {"a.jpg", "C:\\Program\\", "a.jpg"},               {"C:\\Program\\a.jpg", "", "C:\\Program\\a.jpg"},
        {"C:\\Program\\sub\\a.jpg", "C:\\Program\\", "C:\\Program\\sub\\a.jpg"},
        {"C:\\dir\\\x95\x5c", "C:\\dir\\", "\x95\x5c"},    {"C:\\\x95\x5c\\a.jpg", "C:\\\x95\x5c\\", "a.jpg"},
    };
    for (const auto& c : cases) {
        char entry[PATH_BUFFER_SIZE] = {};
        ListEntryForFile(c.path, c.programDirectory, entry);
        EXPECT_STREQ(entry, c.entry) << c.path;
    }
}

TEST(ListEntries, FilterListsAreTheResourceStringsCutAtEachSlash) {
    char filter[FILTER_BUFFER_SIZE];
    LoadFilterList(IDS_FILTER_MUSIC, filter);
    const std::string expected = InCodePage932(L"WAV ファイル (*.wav)") + '\0' + "*.wav" + '\0' +
                                 InCodePage932(L"MIDI ファイル (*.mid)") + '\0' + "*.mid" + '\0' +
                                 InCodePage932(L"全てのファイル (*.*)") + '\0' + "*.*" + '\0' + '\0';
    EXPECT_EQ(std::string(filter, expected.size()), expected);
}

}  // namespace
