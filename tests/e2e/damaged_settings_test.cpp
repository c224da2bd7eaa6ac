// gleamo.scr over settings files damaged by hand: whatever the file holds, the
// saver starts and shows its window, the settings dialog opens, and Cancel
// leaves the file byte for byte as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/test_files.h"

namespace {

// Every run must come up well within this; a loading that walks an absurd
// count never would.
constexpr DWORD SHOW_LIMIT_MS = 10000;
constexpr DWORD END_LIMIT_MS = 10000;
constexpr DWORD CANCELLED = 2;

struct Damage {
    const char* what;
    std::string bytes;
};

// format written with each number from 0 below count, joined.
std::string Numbered(const char* format, int count) {
    std::string joined;
    for (int i = 0; i < count; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, format, i);
        joined += text;
    }
    return joined;
}

std::string Utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::vector<Damage> Damages() {
    // C:\写真\表示\ in code page 932: the trailing byte of 表 is a backslash.
    const std::string folder = "C:\\\x8e\xca\x90\x5e\\\x95\x5c\x8e\xa6\\";
    const char zeroBytes[] = "[Picture]\r\nCount=2\0junk\r\n[FileList]\r\nPicture0=a\0b.jpg\r\nPicture1=\0\r\n";
    std::string everyByte;  // each value four times, in a scattered order
    for (int i = 0; i < 1024; ++i) {
        everyByte += static_cast<char>(i * 7);
    }
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 64 * 1024; ++i) {
        seed = seed * 1103515245 + 12345;
        noise += static_cast<char>(seed >> 16);
    }
    return {
        {"largest picture count", "[Picture]\r\nCount=2147483647\r\n[FileList]\r\nPicture0=a.jpg\r\nPicture9=b\r\n"},
        {"music count past 32 bits", "[Music]\r\nPlayMusic=1\r\nCount=4294967296\r\n[FileList]\r\nMusic0=a.wav\r\n"},
        {"counts of twenty digits, no file list",
         "[Picture]\r\nCount=99999999999999999999\r\n[Music]\r\nCount=99999999999999999999\r\n"},
        {"counts with text", "[Picture]\r\nCount= 2147483647 pictures\r\n[Music]\r\nCount=0x7FFFFFFF\r\n"},
        {"numbers out of every range",
         "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=missing.bmp\r\nBright=99999999999\r\nBackColor=-1\r\n"
         "[Effect]\r\nScale=2147483647\r\nDelay=-2147483648\r\nSpeed=-1\r\n[Music]\r\nCount=-1\r\n"
         "[Picture]\r\nCount=-2147483648\r\nMaxWidth=2147483647\r\nMaxHeight=-1\r\nUseMask=1\r\nCC0=-1\r\n"
         "[Debug]\r\nUseElapse=1\r\nElapse=-5\r\n"},
        {"numbers that are not numbers",
         "[Effect]\r\nScale=abc\r\nDelay=-\r\nSpeed=1e9\r\n[Back]\r\nBright=--5\r\n[Picture]\r\nCount=three\r\n"},
        {"junk lines",
         "[Picture\r\nCount=5\r\n]]]\r\n=no key\r\n==\r\n[]\r\n[FileList]\r\n=\r\nPicture0\r\nPicture1 x\r\n"
         "[Picture]\r\nCount=2147483647\r\n"},
        {"sections and keys twice",
         "[FileList]\r\nPicture0=a\r\nPicture0=b\r\n[Picture]\r\nCount=1\r\n[Picture]\r\nCount=2147483647\r\n"
         "[FileList]\r\nPicture1=c\r\n"},
        {"blanks, tabs and comments",
         "  [ Picture ]  \r\n ; Count=1\r\n\tCount = 2147483647 \r\n[FileList]\r\n Picture0 = a.jpg \r\n"},
        {"carriage returns only", "[Picture]\rCount=2147483647\r[FileList]\rPicture0=a.jpg\r"},
        {"empty file", ""},
        {"blank lines only", Numbered("\r\n", 100000)},
        {"zero bytes inside lines", std::string(zeroBytes, sizeof zeroBytes - 1)},
        {"every byte value", "[Picture]\r\nCount=2147483647\r\n" + everyByte},
        {"random bytes", noise},
        {"UTF-16 with a byte order mark",
         "\xFF\xFE" + Utf16(L"[Picture]\r\nCount=2147483647\r\n[FileList]\r\nPicture0=\u5199\u771F.jpg\r\n")},
        {"UTF-16 cut in the middle of a character", "\xFF\xFE" + Utf16(L"[Picture]\r\nCount=9") + "9"},
        {"UTF-8 with a byte order mark",
         "\xEF\xBB\xBF[Picture]\r\nCount=2147483647\r\n[FileList]\r\nPicture0=\xE5\x86\x99.jpg\r\n"},
        {"a line of a quarter megabyte",
         "[Picture]\r\nCount=1\r\n[FileList]\r\nPicture0=" + std::string(256 * 1024, 'a')},
        {"long section and key names",
         "[" + std::string(100000, 'S') + "]\r\n" + std::string(100000, 'k') + "=v\r\n[FileList]\r\nPicture" +
             std::string(5000, '1') + "=x\r\n[Picture]\r\nCount=2147483647\r\n"},
        {"long background path", "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=" + std::string(5000, 'p') + "\r\n"},
        {"double-byte paths",
         "[Back]\r\nScreen=0\r\nUsePic=1\r\nPath=" + folder + "back.bmp\r\n[Picture]\r\nCount=3\r\n[FileList]\r\n"
         "Picture0=" + folder + "\r\nPicture1=" + folder + "a.jpg\r\nPicture2=\x8e\xca.bmp\r\n"},
        // 写 two hundred times after an odd number of bytes: the 259-byte
        // limit falls between a lead and a trailing byte.
        {"a double-byte value cut after a lead byte",
         "[Picture]\r\nCount=1\r\n[FileList]\r\nPicture0=C:\\a" + Numbered("\x8e\xca", 200) + "\r\n"},
        {"lone lead bytes",
         "[Picture\x82]\r\nCount\x82=1\r\n[Picture]\r\nCount=2\r\n[FileList]\r\nPicture0=abc\x82\r\n"
         "Picture1=\x81\r\n\x81"},
        {"a file list of ten thousand other keys",
         "[Picture]\r\nCount=2147483647\r\n[FileList]\r\n" + Numbered("Other%d=x\r\n", 10000) + "Picture5=a\r\n"},
        {"a thousand missing pictures",
         "[Picture]\r\nCount=1000\r\n[FileList]\r\n" + Numbered("Picture%d=C:\\missing\\a.jpg\r\n", 1000)},
        {"twenty thousand keys of another section", "[Other]\r\n" + Numbered("k%d=v\r\n", 20000)},
        {"five thousand sections", Numbered("[S%d]\r\nk=v\r\n", 5000) + "[Picture]\r\nCount=2147483647\r\n"},
    };
}

class DamagedSettings : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GleamoPath().empty()) << "GLEAMO_SCR is not set";
        ASSERT_TRUE(CopyFileA(GleamoPath().c_str(), program.c_str(), FALSE));
    }

    // The visible top-level window of process with the class.
    static HWND WindowOf(const RunningProcess& process, const char* className) {
        for (HWND found = FindWindowExA(nullptr, nullptr, className, nullptr); found != nullptr;
             found = FindWindowExA(nullptr, found, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == process.Id() && IsWindowVisible(found)) {
                return found;
            }
        }
        return nullptr;
    }

    // Runs /s until its window shows, then closes it. True when it showed and
    // ended normally.
    bool SaverShowsItsWindow() const {
        RunningProcess saver(program, "/s");
        HWND window = nullptr;
        if (!WaitUntil(SHOW_LIMIT_MS, [&] { return (window = WindowOf(saver, "WindowsScreenSaverClass")); })) {
            return false;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 0xDEAD;
        return saver.WaitForExit(END_LIMIT_MS, exitCode) && exitCode == 0;
    }

    // Runs /c until the settings dialog shows (the window with the tabs, not
    // the error box), then cancels it. True when it showed and ended cancelled.
    bool DialogOpensAndCancels() const {
        RunningProcess dialog(program, "/c");
        HWND window = nullptr;
        if (!WaitUntil(SHOW_LIMIT_MS, [&] {
                window = WindowOf(dialog, "#32770");
                return window != nullptr && FindWindowExA(window, nullptr, "SysTabControl32", nullptr) != nullptr;
            })) {
            return false;
        }
        PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        DWORD exitCode = 0xDEAD;
        return dialog.WaitForExit(END_LIMIT_MS, exitCode) && exitCode == CANCELLED;
    }

    TempFolder folder;  // a copy of gleamo.scr with its settings file beside it
    const std::string program = folder / "gleamo.scr";
    const std::string iniPath = folder / "gleamo.ini";
};

TEST_F(DamagedSettings, TheSaverShowsItsWindowAndTheDialogOpensAndCancelLeavesTheFileByteForByte) {
    for (const Damage& damage : Damages()) {
        ASSERT_TRUE(WriteFileBytes(iniPath, damage.bytes));
        EXPECT_TRUE(SaverShowsItsWindow()) << "/s: " << damage.what;
        EXPECT_TRUE(DialogOpensAndCancels()) << "/c: " << damage.what;
        // Not EXPECT_EQ: a difference would print megabytes.
        EXPECT_TRUE(ReadFileBytes(iniPath) == damage.bytes) << damage.what << ": the file changed";
    }
}

}  // namespace
