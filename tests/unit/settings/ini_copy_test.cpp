// Saving the settings file through a copy. Whichever way the copy takes the
// file's place, a save that fails leaves the old file as it was: the settings
// are never found missing by the next load.
#include "settings/ini_copy.h"

#include <gtest/gtest.h>

#include <string>

#include "base/path_limits.h"
#include "base/test_hooks.h"
#include "support/test_files.h"

namespace {

const std::string kHandSet = "[Debug]\r\nUseElapse=1\r\n";

// MoveFileA, except that the copy never moves: the file renamed aside has
// nowhere to go but back.
BOOL WINAPI CopyNeverMoves(const char* from, const char* to) {
    const std::string source = from;
    if (source.size() > 4 && source.compare(source.size() - 4, 4, ".new") == 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return MoveFileA(from, to);
}

class IniCopyTest : public testing::Test {
protected:
    // Saves Scale=scale into the file through a copy, as the settings do.
    bool Save(const char* scale) {
        char copyPath[PATH_BUFFER_SIZE];
        if (!BeginIniCopy(ini.c_str(), copyPath)) {
            return false;
        }
        const bool written = WritePrivateProfileStringA("Effect", "Scale", scale, copyPath) != FALSE;
        return FinishIniCopy(copyPath, ini.c_str(), written);
    }
    bool LeftBeside() const { return FileExists(folder / "gleamo.new") || FileExists(folder / "gleamo.old"); }

    TempFolder folder;
    const std::string ini = folder / "gleamo.ini";
};

TEST_F(IniCopyTest, EitherWayTheCopyTakesTheFilesPlaceAndNothingStaysBeside) {
    for (const bool win9x : {false, true}) {
        Hooks().win9xIniSave = win9x;
        DeleteFileA(ini.c_str());
        ASSERT_TRUE(Save("5")) << "the first save, win9x " << win9x;
        EXPECT_EQ(ReadFileBytes(ini), "[Effect]\r\nScale=5\r\n") << win9x;

        ASSERT_TRUE(WriteFileBytes(ini, kHandSet + "[Effect]\r\nScale=5\r\n"));
        ASSERT_TRUE(Save("7")) << "over a file, win9x " << win9x;
        EXPECT_EQ(ReadFileBytes(ini), kHandSet + "[Effect]\r\nScale=7\r\n") << win9x;
        EXPECT_FALSE(LeftBeside()) << win9x;
    }
}

// Were the file deleted before the copy moved, a failed move would leave only
// the copy: the next load would see defaults and the next save delete it.
TEST_F(IniCopyTest, WhenTheCopyCannotMoveOnThe95FamilyTheOldFileStays) {
    const std::string before = kHandSet + "[Effect]\r\nScale=5\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, before));
    Hooks().win9xIniSave = true;
    Hooks().iniMove = CopyNeverMoves;
    EXPECT_FALSE(Save("7"));
    EXPECT_EQ(ReadFileBytes(ini), before);
    EXPECT_FALSE(LeftBeside());
}

}  // namespace
