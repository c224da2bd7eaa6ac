// gleamo.scr over settings files damaged by hand: whatever the file holds, the
// saver starts and shows its window, the settings dialog opens, and Cancel
// leaves the file byte for byte as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/test_files.h"

namespace {

// Every run must come up well within this; a loading that walks an absurd
// count never would.
constexpr DWORD SHOW_LIMIT_MS = 10000, END_LIMIT_MS = 10000, CANCELLED = 2;

struct Damage {
    const char* what;
    std::string bytes;
};

std::string Utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::vector<Damage> Damages() {
    // C:\写真\表示\ in code page 932: the trailing byte of 表 is a backslash.
    const std::string folder = "C:\\\x8e\xca\x90\x5e\\\x95\x5c\x8e\xa6\\";
    std::string everyByte, kanjiRun;  // each value four times, in a scattered order; 写 200 times
    for (int i = 0; i < 1024; ++i) {
        everyByte += static_cast<char>(i * 7);
        kanjiRun += i < 200 ? "\x8e\xca" : "";
    }
    return {
        {"largest picture count", "[Picture]\r\nCount=2147483647\r\n[FileList]\r\nPicture0=a.jpg\r\nPicture9=b\r\n"},
        {"music count past 32 bits", "[Music]\r\nPlayMusic=1\r\nCount=4294967296\r\n[FileList]\r\nMusic0=a.wav\r\n"},
        {"counts of twenty digits, no file list",
         "[Picture]\r\nCount=99999999999999999999\r\n[Music]\r\nCount=99999999999999999999\r\n"},
        {"numbers out of every range",
         "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=missing.bmp\r\nBright=99999999999\r\nBackColor=-1\r\n"
         "[Effect]\r\nScale=2147483647\r\nDelay=-2147483648\r\nSpeed=-1\r\n[Music]\r\nCount=-1\r\n"
         "[Picture]\r\nCount=-2147483648\r\nMaxWidth=2147483647\r\nMaxHeight=-1\r\nUseMask=1\r\nCC0=-1\r\n"
         "[Debug]\r\nUseElapse=1\r\nElapse=-5\r\n"},
        {"junk lines",
         "[Picture\r\nCount=5\r\n]]]\r\n=no key\r\n==\r\n[]\r\n[FileList]\r\n=\r\nPicture0\r\nPicture1 x\r\n"
         "[Picture]\r\nCount=2147483647\r\n"},
        {"every byte value", "[Picture]\r\nCount=2147483647\r\n" + everyByte},
        {"UTF-16 with a byte order mark",
         "\xFF\xFE" + Utf16(L"[Picture]\r\nCount=2147483647\r\n[FileList]\r\nPicture0=\u5199\u771F.jpg\r\n")},
        {"lines of a quarter megabyte",
         "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=" + std::string(256 * 1024, 'p') +
             "\r\n[Picture]\r\nCount=1\r\n[FileList]\r\nPicture0=" + std::string(256 * 1024, 'a')},
        {"double-byte paths",
         "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=" + folder + "back.bmp\r\n[Picture]\r\nCount=3\r\n[FileList]\r\n"
         "Picture0=" + folder + "\r\nPicture1=" + folder + "a.jpg\r\nPicture2=\x8e\xca.bmp\r\n"},
        // 写 two hundred times after an odd number of bytes: the 259-byte
        // limit falls between a lead and a trailing byte.
        {"lead bytes without their trailing byte",
         "[Picture\x82]\r\nCount\x82=1\r\n[Picture]\r\nCount=2\r\n[FileList]\r\nPicture0=C:\\a" +
             kanjiRun + "\r\nPicture1=abc\x82\r\n\x81"},
    };
}

class DamagedSettings : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    }

    // Runs gleamo.scr with the switch until its window shows (for /c the
    // dialog with the tabs, not an error box), then closes it as a user would:
    // the saver by WM_CLOSE, the dialog by its Cancel button. True when it
    // showed and then ended with expectedExit.
    bool ShowsAndEnds(const char* arguments, DWORD expectedExit) const {
        const bool dialog = lstrcmpA(arguments, "/c") == 0;
        RunningProcess run(program, arguments);
        HWND window = nullptr;
        if (!WaitUntil(SHOW_LIMIT_MS, [&] {
                window = VisibleWindowOf(run, dialog ? "#32770" : "WindowsScreenSaverClass");
                return window != nullptr && (!dialog || FindWindowExA(window, nullptr, "SysTabControl32", nullptr));
            })) {
            return false;
        }
        PostMessageA(dialog ? GetDlgItem(window, IDCANCEL) : window, dialog ? BM_CLICK : WM_CLOSE, 0, 0);
        DWORD exitCode = 0xDEAD;
        return run.WaitForExit(END_LIMIT_MS, exitCode) && exitCode == expectedExit;
    }

    TempFolder folder;  // a copy of gleamo.scr with its settings file beside it
    const std::string program = folder / "gleamo.scr", iniPath = folder / "gleamo.ini";
};

TEST_F(DamagedSettings, TheSaverShowsItsWindowAndTheDialogOpensAndCancelLeavesTheFileByteForByte) {
    for (const Damage& damage : Damages()) {
        ASSERT_TRUE(WriteFileBytes(iniPath, damage.bytes));
        EXPECT_TRUE(ShowsAndEnds("/s", 0)) << "/s: " << damage.what;
        EXPECT_TRUE(ShowsAndEnds("/c", CANCELLED)) << "/c: " << damage.what;
        // Not EXPECT_EQ: a difference would print megabytes.
        EXPECT_TRUE(ReadFileBytes(iniPath) == damage.bytes) << damage.what << ": the file changed";
    }
}

}  // namespace
